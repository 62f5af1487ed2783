#include "app/RecordedServices.h"

#include "platform/replay/FrameHash.h"

namespace ombrevale {
namespace {

using K = ReplayItem::Kind;

constexpr int16_t kKeyR = 82;
constexpr int16_t kShiftAndControl = 1 | 2;

// The window's events on their way to the window, each kept first: what a handler does with it
// comes after it.
class RecordingEvents final : public WindowEvents {
 public:
  RecordingEvents(WindowEvents& inner, SessionRecorder& recorder,
                  const std::function<void()>& onSaveKey)
      : inner_(inner), recorder_(recorder), onSaveKey_(onSaveKey) {}

  void KeyDown(int16_t& keyCode, int16_t shift) override {
    if (keyCode == kKeyR && shift == kShiftAndControl && onSaveKey_) {
      onSaveKey_();
      return;
    }
    recorder_.Add(KeyItem(keyCode, shift));
    inner_.KeyDown(keyCode, shift);
  }
  void MenuClick(int entry) override {
    recorder_.Add(Item(K::Menu, static_cast<uint32_t>(entry)));
    inner_.MenuClick(entry);
  }
  void PromptClick() override {
    recorder_.Add(Item(K::Prompt));
    inner_.PromptClick();
  }
  void Unload() override {
    recorder_.Add(Item(K::Close));
    inner_.Unload();
  }
  bool Ended() const override { return inner_.Ended(); }

 private:
  WindowEvents& inner_;
  SessionRecorder& recorder_;
  const std::function<void()>& onSaveKey_;
};

uint16_t Side(int pixels) {
  return static_cast<uint16_t>(pixels < 0 ? 0 : pixels > 0xFFFF ? 0xFFFF : pixels);
}

}  // namespace

uint32_t RecordingClock::timeGetTime() {
  const uint32_t now = inner_.timeGetTime();
  recorder_.Reading(now);
  return now;
}

std::string RecordingClock::DateTimeText() {
  std::string text = inner_.DateTimeText();
  recorder_.Text(text);
  return text;
}

void RecordingRandom::Randomize(uint32_t clockSeed) {
  recorder_.Add(Item(K::Seed, inner_.SeedFor(clockSeed)));
  inner_.Randomize(clockSeed);
}

std::string RecordingPictures::FileExists(const std::string& path) {
  std::string found = inner_.FileExists(path);
  if (found.empty()) recorder_.Header().pictures.push_back({path, std::nullopt});
  return found;
}

Surface RecordingPictures::LoadPicture(const std::string& path) {
  Surface picture = inner_.LoadPicture(path);
  recorder_.Header().pictures.push_back({path, HashPicture(picture)});
  return picture;
}

void RecordingDesktop::PumpEvents(WindowEvents& events) {
  recorder_.Add(Item(K::Pass));
  RecordingEvents recording(events, recorder_, onSaveKey_);
  inner_.PumpEvents(recording);
  if (events.Ended()) return;  // nothing follows the close
  const std::optional<WindowShape> shape = inner_.Shape();
  if (shape && shape != shape_) {
    shape_ = shape;
    recorder_.Add(ShapeItem(Side(shape->width), Side(shape->height), shape->fullscreen));
  }
}

void RecordingDesktop::Present(const Scene& scene) {
  recorder_.Frame(HashShownFrame(scene));
  inner_.Present(scene);
}

void RecordingDesktop::MessageBox(std::string_view title, std::string_view text) {
  const uint32_t opened = clock_.timeGetTime();
  inner_.MessageBox(title, text);
  recorder_.Add(Item(K::Box, clock_.timeGetTime() - opened));
}

double RecordingDesktop::ShownScale() {
  const double scale = inner_.ShownScale();
  recorder_.Scale(scale);
  return scale;
}

}  // namespace ombrevale
