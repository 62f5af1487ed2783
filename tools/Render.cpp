#include "tools/Render.h"

#include <cstdlib>
#include <ctime>

#include "app/App.h"
#include "backends/headless/Headless.h"
#include "backends/headless/RecordingMedia.h"
#include "backends/sdl/pictures/SdlPictures.h"
#include "backends/sdl/window/SdlDesktop.h"
#include "backends/sdl/window/SdlVideo.h"
#include "platform/PageLayout.h"
#include "platform/raster/BitBlt.h"
#include "tools/StopSignals.h"
#include "tools/SeenAtScale.h"

namespace ombrevale {

namespace {

// Where the canvas lies in the window's client area: below the menu strip, inside the page frame.
constexpr int kCanvasX = kPageFrame, kCanvasY = kMenuHeight + kPageFrame;

}  // namespace

struct SeededTitle::Parts {
  explicit Parts(const RenderOptions& options)
      : start(options.start),
        random(options.seed),
        desktop(clock, kNaturalScale),
        seen(options.shownScale ? std::make_optional<SeenAtScale>(desktop, *options.shownScale)
                                : std::nullopt) {
    clock.now = kFirstReading;
    clock.dateTime = FormatDateTime(start);
    if (!options.flashLimit) app.form.TurnFlashLimitOff();
  }

  // The millisecond clock at the first frame: past every slot's interval, as on a running system.
  static constexpr uint32_t kFirstReading = 1000;
  // The frames are the page's own pixels, whatever the scale of the desktop it runs on.
  static constexpr int kNaturalScale = 1;

  DateTimeFields start;
  FakeClock clock;
  SeededRandom random;
  SdlDesktop desktop;
  // Seen at the size the options give, else at the window's own.
  std::optional<SeenAtScale> seen;
  RecordingMedia media;
  SdlPictureReader pictures;
  Platform platform{clock, random, seen ? static_cast<ombrevale::Desktop&>(*seen) : desktop, media,
                    pictures};
  App app{platform};
};

SeededTitle::SeededTitle(const RenderOptions& options) : parts_(std::make_unique<Parts>(options)) {
  parts_->app.form.Show();
}

SeededTitle::~SeededTitle() = default;

void SeededTitle::DrawFrame(int index) {
  const long long ms = static_cast<long long>(index) * kRenderStepMs;
  parts_->clock.now = Parts::kFirstReading + static_cast<uint32_t>(ms);
  parts_->clock.dateTime = FormatDateTime(AfterMilliseconds(parts_->start, ms));
  DrawVision(parts_->app.vision, parts_->app.form);
}

SdlDesktop& SeededTitle::Desktop() {
  return parts_->desktop;
}

const ShownCanvas& SeededTitle::Shown() const {
  return parts_->app.form.Shown();
}

std::vector<bool> RenderFrames(const RenderOptions& options,
                               const std::function<void(int index, const Surface& frame)>& frame) {
  // No screen: SDL's dummy video driver draws the window into memory.
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  SdlVideo video;
  RenderOptions seen = options;
  seen.shownScale = options.shownScale.value_or(1);
  SeededTitle title(seen);
  Surface canvas(kCanvasWidth, kCanvasHeight);
  std::vector<bool> limited;
  for (int i = 0; i < options.frames; ++i) {
    StopHereIfAsked();  // where a signal stops a long run: between frames
    const uint64_t changedBefore = title.Shown().FramesChanged();
    title.DrawFrame(i);
    limited.push_back(title.Shown().FramesChanged() > changedBefore);
    // What the window showed: the clock rewrites its caption after the frame is shown, so a new
    // second appears in the next frame, as on screen.
    const Surface client = title.Desktop().ReadClientArea();
    BitBlt(canvas, 0, 0, kCanvasWidth, kCanvasHeight, client, kCanvasX, kCanvasY, SRCCOPY);
    frame(i, canvas);
  }
  return limited;
}

}  // namespace ombrevale
