#pragma once

// The platform's services as a session is recorded: each passes every call on to the service it
// wraps, unchanged, and tells the recorder what the program was told and what it showed.

#include <functional>

#include "app/ForwardingDesktop.h"
#include "app/SessionRecorder.h"
#include "platform/Platform.h"

namespace ombrevale {

class RecordingClock final : public Clock {
 public:
  RecordingClock(Clock& inner, SessionRecorder& recorder) : inner_(inner), recorder_(recorder) {}
  uint32_t timeGetTime() override;
  std::string DateTimeText() override;

 private:
  Clock& inner_;
  SessionRecorder& recorder_;
};

class RecordingRandom final : public Random {
 public:
  RecordingRandom(Random& inner, SessionRecorder& recorder) : inner_(inner), recorder_(recorder) {}
  void Randomize(uint32_t clockSeed) override;
  float Rnd() override { return inner_.Rnd(); }
  uint32_t SeedFor(uint32_t clockSeed) const override { return inner_.SeedFor(clockSeed); }

 private:
  Random& inner_;
  SessionRecorder& recorder_;
};

// Notes each picture the window loads, with its hash, in the replay's header.
class RecordingPictures final : public PictureReader {
 public:
  RecordingPictures(PictureReader& inner, SessionRecorder& recorder)
      : inner_(inner), recorder_(recorder) {}
  std::string FileExists(const std::string& path) override;
  Surface LoadPicture(const std::string& path) override;

 private:
  PictureReader& inner_;
  SessionRecorder& recorder_;
};

// The window: each pump begins a pass, the events it delivers are kept as they go to the window,
// each frame presented is hashed, the box's time open measured on `clock` (the desktop's own, not
// the program's), the window's shape kept after each pump. Ctrl+Shift+R is the recorder's own key:
// it goes to `onSaveKey`, not to the window.
class RecordingDesktop final : public ForwardingDesktop {
 public:
  RecordingDesktop(Desktop& inner, Clock& clock, SessionRecorder& recorder,
                   std::function<void()> onSaveKey)
      : ForwardingDesktop(inner),
        clock_(clock),
        recorder_(recorder),
        onSaveKey_(std::move(onSaveKey)) {}

  void PumpEvents(WindowEvents& events) override;
  void Present(const Scene& scene) override;
  void MessageBox(std::string_view title, std::string_view text) override;
  double ShownScale() override;

 private:
  Clock& clock_;
  SessionRecorder& recorder_;
  std::function<void()> onSaveKey_;
  std::optional<WindowShape> shape_;
};

// A platform whose services record the session into `recorder` as they serve it; `clock` of
// `inner` also measures the box. The desktop's Ctrl+Shift+R calls `onSaveKey`.
struct RecordedPlatform {
  RecordedPlatform(Platform& inner, SessionRecorder& recorder, std::function<void()> onSaveKey)
      : clock(inner.clock, recorder),
        random(inner.random, recorder),
        desktop(inner.desktop, inner.clock, recorder, std::move(onSaveKey)),
        pictures(inner.pictures, recorder),
        platform{clock, random, desktop, inner.media, pictures} {}
  RecordingClock clock;
  RecordingRandom random;
  RecordingDesktop desktop;
  RecordingPictures pictures;
  Platform platform;
};

}  // namespace ombrevale
