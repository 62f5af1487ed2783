// Ombrevale: opens the main window on the desktop and runs the title page until it is closed.

#include <cstdio>
#include <exception>

#include "app/App.h"
#include "platform/FatalError.h"
#include "platform/sdl/SdlDesktop.h"
#include "platform/sdl/SdlMedia.h"
#include "platform/sdl/SdlPictures.h"
#include "platform/sdl/SdlVideo.h"

int main() {
  using namespace ombrevale;
  try {
    SdlVideo video;
    SystemClock clock;
    SystemRandom random;
    SdlDesktop desktop(clock);
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
