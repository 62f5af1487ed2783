#pragma once

// The platform's services as a replay plays: the program is told what the replay holds (the
// clock, the texts, the seed, the shown scale, the window's events) and what it shows is checked
// frame by frame (app/ReplayFeed.h). A desktop, when one is given, shows the session as the player
// saw it; its clock paces it.

#include "app/ReplayFeed.h"
#include "platform/Platform.h"

namespace ombrevale {

class ReplayClock final : public Clock {
 public:
  explicit ReplayClock(ReplayFeed& feed) : feed_(feed) {}
  uint32_t timeGetTime() override { return feed_.Reading(); }
  std::string DateTimeText() override { return feed_.Text(); }

 private:
  ReplayFeed& feed_;
};

// The generator every desktop seeds, with the seed the session's had.
class ReplayRandom final : public Random {
 public:
  explicit ReplayRandom(ReplayFeed& feed) : feed_(feed) {}
  void Randomize(uint32_t clockSeed) override { engine_.Randomize(feed_.Seed(clockSeed)); }
  float Rnd() override { return engine_.Rnd(); }

 private:
  ReplayFeed& feed_;
  SystemRandom engine_;
};

// The pictures of this machine, each checked to be the one the session loaded.
class ReplayPictures final : public PictureReader {
 public:
  ReplayPictures(PictureReader& inner, ReplayFeed& feed) : inner_(inner), feed_(feed) {}
  std::string FileExists(const std::string& path) override;
  Surface LoadPicture(const std::string& path) override;

 private:
  PictureReader& inner_;
  ReplayFeed& feed_;
};

// How a replay plays on a desktop.
struct ReplayShowing {
  Desktop* desktop = nullptr;  // where the session is shown; none: nowhere, as fast as can be
  Clock* clock = nullptr;      // the desktop's clock, which paces it in real time; none: no pacing
  bool followShapes = false;   // the window takes the sizes and fullscreen the player chose
  std::optional<uint64_t> lastFrame;  // the playing ends once this frame is shown
  bool everyFrame = false;  // shows the frames played unchecked too (else only the checked ones)
};

// The longest the replay waits between two passes, or keeps the box open: a longer pause (the
// machine asleep, the box left open) shows for this long.
inline constexpr uint32_t kLongestPauseMs = 5000;

class ReplayDesktop final : public Desktop {
 public:
  ReplayDesktop(ReplayFeed& feed, const ReplayShowing& showing);

  float ScreenWidth() override;
  float ScreenHeight() override;
  void SetWindowSize(float width, float height) override;
  float WindowWidth() override;
  float WindowHeight() override;
  void SetWindowPosition(float left, float top) override;
  void SetCaption(std::string_view caption) override;
  void SetMenu(const std::vector<std::string>& entries) override;
  void ShowWindow() override;
  void PumpEvents(WindowEvents& events) override;
  // Waits, the window answering the viewer meanwhile, until the next pass is due.
  void WaitEvents(std::optional<uint32_t> due) override;
  void Present(const Scene& scene) override;
  void MessageBox(std::string_view title, std::string_view text) override;
  double ShownScale() override { return feed_.Scale(); }
  // The replay's header says whether its session started calm; the viewer's own wish is not asked.
  bool PrefersLessMotion() override { return false; }

  // The desktop clock's reading at which the next pass is to begin: as long after the pass before
  // as the session's clock had moved between them (a pause of at most kLongestPauseMs), from now
  // where the desktop fell far behind; nothing where the replay plays as fast as it can. Asked
  // once before each pass: by WaitEvents, or by a desktop whose own event loop runs the passes.
  std::optional<uint32_t> NextPassDue();

 private:
  // The viewer's own events: all but a close are the replay's to give.
  class ViewerEvents final : public WindowEvents {
   public:
    void KeyDown(int16_t&, int16_t) override {}
    void MenuClick(int) override {}
    void PromptClick() override {}
    void Unload() override { closed = true; }
    bool Ended() const override { return closed; }
    bool closed = false;
  };

  ReplayFeed& feed_;
  ReplayShowing showing_;
  ViewerEvents viewer_;
  float width_ = 0, height_ = 0;
  // Real time: the desktop clock's reading at which the next pass is due, and the replay's
  // reading of the pass before.
  std::optional<uint32_t> due_;
  uint32_t lastReading_ = 0;
};

// A platform whose services play `replay`: the media and the pictures of `media` and `pictures`,
// the session shown as `showing` says.
struct ReplayedPlatform {
  ReplayedPlatform(const Replay& replay, Media& media, PictureReader& pictures,
                   const ReplayShowing& showing)
      : feed(replay),
        clock(feed),
        random(feed),
        desktop(feed, showing),
        checkedPictures(pictures, feed),
        platform{clock, random, desktop, media, checkedPictures} {
    if (showing.lastFrame) feed.StopAfter(*showing.lastFrame);
  }
  ReplayFeed feed;
  ReplayClock clock;
  ReplayRandom random;
  ReplayDesktop desktop;
  ReplayPictures checkedPictures;
  Platform platform;
};

}  // namespace ombrevale
