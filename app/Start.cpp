// Ombrevale: reads its command line, finds its pictures, opens the main window on the desktop and
// runs the title page until it is closed.

#include <cstdio>
#include <exception>
#include <iostream>

#include "app/App.h"
#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "platform/Complaint.h"
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

  const DataFolderChoice data = ChooseDataFolder(DataFolderPlacesHere(line.data), HoldsDatFolder);
  if (const auto complaint = EnterDataFolder(data)) {
    std::fprintf(stderr, "%s\n", complaint->c_str());
    return 2;  // as for any other bad argument
  }
  try {
    SdlVideo video;
    // Said once there is a desktop to run on: without one, its own sentence is the news.
    if (!data.warning.empty()) std::fprintf(stderr, "%s\n", data.warning.c_str());
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
    std::fprintf(stderr, "%s\n", e.what());  // a line that is its own complaint
    return 1;
  } catch (const FatalError& e) {
    Complain(e.what());
    ShowFatalErrorBox(e.what());
    return 1;
  }
}
