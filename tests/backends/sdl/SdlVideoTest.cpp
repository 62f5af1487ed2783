// Starting SDL's video: one sentence where there is no desktop, a fatal error for a driver SDL
// lacks.

#include <gtest/gtest.h>

#include "platform/FatalError.h"
#include "tests/backends/sdl/SdlDesktopKit.h"

namespace ombrevale {
namespace {

TEST(SdlVideoTest, RefusesWithOneSentenceWhereThereIsNoDesktop) {
  EnvVar noDriver("SDL_VIDEODRIVER", nullptr);
  EnvVar noWayland("WAYLAND_DISPLAY", nullptr);
  {
    EnvVar noDisplay("DISPLAY", nullptr);
    try {
      SdlVideo video("build/ombrevale");
      FAIL() << "started without a desktop";
    } catch (const NoDesktopError& e) {
      EXPECT_STREQ(e.what(),
                   "ombrevale: needs a desktop session to open its window: start it from a "
                   "graphical desktop, or under Xvfb (xvfb-run -a build/ombrevale).");
    }
  }
  {
    // A display that nothing answers: SDL would quietly fall back to drawing off screen.
    EnvVar deadDisplay("DISPLAY", ":4242");
    try {
      SdlVideo video;
      FAIL() << "started on a display nobody serves";
    } catch (const NoDesktopError& e) {
      EXPECT_NE(std::string(e.what()).find("\":4242\""), std::string::npos) << e.what();
    }
  }
}

TEST(SdlVideoTest, ADriverTheUserChoseButSdlLacksIsAFatalError) {
  EnvVar driver("SDL_VIDEODRIVER", "no-such-driver");
  EXPECT_THROW(SdlVideo video, FatalError);
}

}  // namespace
}  // namespace ombrevale
