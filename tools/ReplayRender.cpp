#include "tools/ReplayRender.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "app/ReplayFiles.h"
#include "app/ReplayRun.h"
#include "backends/headless/RecordingMedia.h"
#include "backends/sdl/pictures/PngFile.h"
#include "backends/sdl/pictures/SdlPictures.h"
#include "backends/sdl/window/SdlDesktop.h"
#include "backends/sdl/window/SdlVideo.h"
#include "platform/Complaint.h"
#include "platform/FatalError.h"
#include "platform/PageLayout.h"
#include "platform/raster/BitBlt.h"

namespace ombrevale {
namespace {

// Where the canvas lies in the window's client area: below the menu strip, inside the page frame.
constexpr int kCanvasX = kPageFrame, kCanvasY = kMenuHeight + kPageFrame;

// The window of SDL's dummy video driver, in memory: after each frame it shows, the canvas with
// its label as the window drew them goes to `shown`.
class FrameTap final : public Desktop {
 public:
  FrameTap(SdlDesktop& window, std::function<void(const Surface&)> shown)
      : window_(window), shown_(std::move(shown)) {}
  float ScreenWidth() override { return window_.ScreenWidth(); }
  float ScreenHeight() override { return window_.ScreenHeight(); }
  void SetWindowSize(float width, float height) override { window_.SetWindowSize(width, height); }
  float WindowWidth() override { return window_.WindowWidth(); }
  float WindowHeight() override { return window_.WindowHeight(); }
  void SetWindowPosition(float left, float top) override { window_.SetWindowPosition(left, top); }
  void SetCaption(std::string_view caption) override { window_.SetCaption(caption); }
  void SetMenu(const std::vector<std::string>& entries) override { window_.SetMenu(entries); }
  void ShowWindow() override { window_.ShowWindow(); }
  void PumpEvents(WindowEvents&) override {}
  void WaitEvents(std::optional<uint32_t>) override {}
  void MessageBox(std::string_view, std::string_view) override {}
  void Present(const Scene& scene) override {
    window_.Present(scene);
    const Surface client = window_.ReadClientArea();
    BitBlt(canvas_, 0, 0, kCanvasWidth, kCanvasHeight, client, kCanvasX, kCanvasY, SRCCOPY);
    shown_(canvas_);
  }

 private:
  SdlDesktop& window_;
  std::function<void(const Surface&)> shown_;
  Surface canvas_{kCanvasWidth, kCanvasHeight};
};

// The window the frames are drawn in, when they are asked for: SDL's dummy video, at the page's
// natural size whatever the session's.
struct DrawnFrames {
  explicit DrawnFrames(const std::function<void(int, const Surface&)>& frame)
      : window(clock, kNaturalScale),
        tap(window, [this, frame](const Surface& shown) { frame(index++, shown); }) {}
  static constexpr int kNaturalScale = 1;
  SystemClock clock;  // the window's own, which nothing here waits on
  SdlDesktop window;
  FrameTap tap;
  int index = 0;
};

}  // namespace

int RenderReplay(const std::string& path, const ReplayRenderOptions& options) {
  Replay replay;
  try {
    replay = LoadReplay(path);
  } catch (const ReplayError& e) {
    Complain(e.what());
    return 2;
  }
  RecordingMedia media;
  SdlPictureReader pictures;
  std::optional<SdlVideo> video;
  std::optional<DrawnFrames> drawn;
  ReplayShowing showing;
  if (options.frame) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);  // no screen: the window is drawn in memory
    video.emplace();
    drawn.emplace(options.frame);
    showing.desktop = &drawn->tap;
    showing.everyFrame = true;
  }
  try {
    const ReplayResult result = PlayReplay(replay, media, pictures, showing);
    return ReportReplay(path, replay, result, stdout, WritePng, media, pictures);
  } catch (const FatalError& e) {
    Complain(e.what());
    return 1;
  }
}

double LargestShownScale(const std::string& path) {
  double largest = 1;
  try {
    const Replay replay = LoadReplay(path);
    ReplayCursor items(replay.stream);
    for (ReplayItem item; items.Next(item);)
      if (item.kind == ReplayItem::Kind::Scale) largest = std::max(largest, item.scale);
  } catch (const ReplayError&) {
    // Said when the replay is played.
  }
  return largest;
}

}  // namespace ombrevale
