// Ombrevale: reads its command line, opens the main window on the desktop and
// runs the title page until it is closed.

#include <cstdio>
#include <exception>
#include <iostream>

#include "app/App.h"
#include "app/CommandLine.h"
#include "platform/FatalError.h"
#include "platform/sdl/SdlDesktop.h"
#include "platform/sdl/SdlMedia.h"
#include "platform/sdl/SdlPictures.h"
#include "platform/sdl/SdlVideo.h"

int main(int argc, char** argv) {
  using namespace ombrevale;
  // Help, the version and a mistyped option are answered before anything needs a desktop.
  const CommandLine line = ReadCommandLine(argc, argv);
  if (const auto status = Answer(line, std::cout, std::cerr)) return *status;

  try {
    SdlVideo video;
    SystemClock clock;
    SystemRandom random;
    SdlDesktop desktop(clock);
    if (line.fullscreen) desktop.SetFullscreen(true);
    SdlMedia media;
    SdlPictureReader pictures;
    Platform platform{clock, random, desktop, media, pictures};
    App app(platform);
    return Main(app);
  } catch (const NoDesktopError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  } catch (const FatalError& e) {
    std::fprintf(stderr, "Ombrevale: %s\n", e.what());
    ShowFatalErrorBox(e.what());
    return 1;
  }
}
