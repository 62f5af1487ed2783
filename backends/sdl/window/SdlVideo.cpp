#include "backends/sdl/window/SdlVideo.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "backends/sdl/XErrors.h"
#include "backends/sdl/boxes/ErrorBoxLines.h"
#include "backends/sdl/window/HangUp.h"
#include "backends/sdl/boxes/BoxEndsWithProgram.h"
#include "platform/Complaint.h"
#include "platform/FatalError.h"

namespace ombrevale {
namespace {

// What to do where there is no desktop, naming the program as it was started (`command`), so that
// the suggestion works as it is typed: installed, "ombrevale"; in the build tree, its path there.
std::string HowToStart(std::string_view command) {
  return "start it from a graphical desktop, or under Xvfb (xvfb-run -a " + std::string(command) +
         ").";
}

bool EnvSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

bool DesktopSessionAround() {
  return EnvSet("DISPLAY") || EnvSet("WAYLAND_DISPLAY");
}

// SDL's drivers that draw nowhere visible. SDL falls back to them by itself when no windowing
// system answers.
bool DrawsNowhere(std::string_view driver) {
  return driver == "offscreen" || driver == "dummy";
}

// The desktops tried, in the order they were.
std::string WhereWeLooked() {
  std::string where;
  if (EnvSet("WAYLAND_DISPLAY"))
    where = std::string("Wayland display \"") + std::getenv("WAYLAND_DISPLAY") + "\"";
  if (EnvSet("DISPLAY")) {
    if (!where.empty()) where += " or ";
    where += std::string("display \"") + std::getenv("DISPLAY") + "\"";
  }
  return where;
}

// The program takes keys by their place and never typed text, yet SDL opens X's input method,
// which parses the locale's whole compose table (half a megabyte of text, a tenth of the time to
// the first frame, and as much memory) unless told of another. An empty one is asked for, unless
// the user named one.
void SkipComposeTable() {
  setenv("XCOMPOSEFILE", "/dev/null", /*overwrite=*/0);
}

// On Wayland a window is known by its app id, which the desktop matches to the launcher's file for
// its name and icon; SDL takes it from the environment. A name the user set is kept.
void NameTheApp() {
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", kAppId, /*overwrite=*/0);
}

// Shuts SDL down whole, its helpers included, once no part of it is in use.
void QuitSdlIfUnused() {
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

}  // namespace

SdlVideo::SdlVideo(std::string_view command) {
  const bool driverChosen = EnvSet("SDL_VIDEODRIVER");
  if (!driverChosen && !DesktopSessionAround()) {
    throw NoDesktopError(
        Complaint("needs a desktop session to open its window: " + HowToStart(command)));
  }
  IgnoreEventsSentToVanishedWindows();
  SayWhenTheDisplayIsLost();
  SkipComposeTable();
  NameTheApp();
  if (!driverChosen) {
    // Only the windowing systems that are there: no probing of absent ones, and no quiet fallback
    // to a driver that draws nowhere. Wayland first where there is one, natively, at the output's
    // true scale; X11 (XWayland, or a desktop of its own) after it.
    const char* drivers =
        EnvSet("WAYLAND_DISPLAY") ? (EnvSet("DISPLAY") ? "wayland,x11" : "wayland") : "x11";
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers);
  }
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    const std::string why = SDL_GetError();
    QuitSdlIfUnused();
    if (!driverChosen) {
      throw NoDesktopError(Complaint("could not reach the desktop session on " + WhereWeLooked() +
                                     ": " + HowToStart(command)));
    }
    throw FatalError("starting SDL's video failed: " + why);
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driverChosen && (driver == nullptr || DrawsNowhere(driver))) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    QuitSdlIfUnused();
    throw NoDesktopError(Complaint("could not reach the desktop session on " + WhereWeLooked() +
                                   ": " + HowToStart(command)));
  }
  CloseOnHangUp();
}

SdlVideo::~SdlVideo() {
  ForgetHangUp();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  QuitSdlIfUnused();
}

bool ShowFatalErrorBox(const std::string& text) {
  if (!DesktopSessionAround()) return false;
  // SDL's box is as wide as its longest line: in lines, it fits the screen.
  const std::string lines = ErrorBoxLines(text);
  // SDL draws the box from a process of its own, which now and then fails to come up on a busy
  // desktop: try once more before giving up, and then say why the box is missing. That process
  // ends with the program, should a signal end the program while the box is up.
  const BoxEndsWithProgram tied;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Ombrevale", lines.c_str(), nullptr) == 0)
      return true;
  }
  Complain(std::string("the error box could not be shown: ") + SDL_GetError());
  return false;
}

}  // namespace ombrevale
