#include "tools/ReplayRender.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "app/ForwardingDesktop.h"
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
class FrameTap final : public ForwardingDesktop {
 public:
  FrameTap(SdlDesktop& window, std::function<void(const Surface&)> shown)
      : ForwardingDesktop(window), window_(window), shown_(std::move(shown)) {}
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
  return PlayReplayFile(path, media, pictures, showing, WritePng);
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
