#include "tools/Render.h"

#include <cstdlib>
#include <ctime>

#include "app/App.h"
#include "platform/PageLayout.h"
#include "platform/headless/Headless.h"
#include "platform/headless/RecordingMedia.h"
#include "platform/sdl/SdlDesktop.h"
#include "platform/sdl/SdlPictures.h"
#include "platform/sdl/SdlVideo.h"

namespace ombrevale {

namespace {

// Where the canvas lies in the window's client area: below the menu strip, inside the page frame.
constexpr int kCanvasX = kPageFrame, kCanvasY = kMenuHeight + kPageFrame;

}  // namespace

DateTimeFields After(const DateTimeFields& start, long long ms) {
  std::tm t{};
  t.tm_year = start.year - 1900;
  t.tm_mon = start.month - 1;
  t.tm_mday = start.day;
  t.tm_hour = start.hour;
  t.tm_min = start.minute;
  t.tm_sec = start.second;
  const time_t at = timegm(&t) + static_cast<time_t>(ms / 1000);
  std::tm now{};
  gmtime_r(&at, &now);
  return {now.tm_year + 1900, now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec};
}

void RenderFrames(const RenderOptions& options,
                  const std::function<void(int index, const Surface& frame)>& frame) {
  // No screen: SDL's dummy video driver draws the window into memory.
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  SdlVideo video;
  FakeClock clock;
  clock.now = 1000;
  clock.dateTime = FormatDateTime(options.start);
  SeededRandom random(options.seed);
  SdlDesktop desktop(clock);
  RecordingMedia media;
  SdlPictureReader pictures;
  Platform platform{clock, random, desktop, media, pictures};
  App app(platform);
  app.form.Show();

  Surface canvas(kCanvasWidth, kCanvasHeight);
  for (int i = 0; i < options.frames; ++i) {
    const long long ms = static_cast<long long>(i) * kRenderStepMs;
    clock.now = 1000 + static_cast<uint32_t>(ms);
    clock.dateTime = FormatDateTime(After(options.start, ms));
    DrawVision(app.vision, app.form);
    // What the window showed: the clock rewrites its caption after the frame is shown, so a new
    // second appears in the next frame, as on screen.
    const Surface client = desktop.ReadClientArea();
    BitBlt(canvas, 0, 0, kCanvasWidth, kCanvasHeight, client, kCanvasX, kCanvasY, SRCCOPY);
    frame(i, canvas);
  }
}

}  // namespace ombrevale
