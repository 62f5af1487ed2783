// Ombrevale's SDL half: opens the main window on SDL and runs the title page until it is
// closed. Loaded by the program once its command line asks to run.

#include "app/StartSdl.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/FixedStartClock.h"
#include "app/ReplayFiles.h"
#include "app/SessionRun.h"
#include "app/Version.h"
#include "backends/sdl/pictures/PngFile.h"
#include "backends/sdl/pictures/SdlPictures.h"
#include "backends/sdl/sound/SdlMedia.h"
#include "backends/sdl/window/SdlDesktop.h"
#include "backends/sdl/window/SdlVideo.h"
#include "platform/Complaint.h"
#include "platform/FatalError.h"
#include "vision/VisionPictures.h"

extern "C" int OmbrevaleRunSdl(const ombrevale::CommandLine& line,
                               const ombrevale::DataFolderChoice& data) {
  using namespace ombrevale;
  try {
    // The pictures are read while SDL reaches the desktop and the window is made, on the other
    // core: the window's load then finds them ready.
    SdlPictureReader pictures;
    pictures.ReadAhead(VisionFiles());
    SdlVideo video(CommandAsStarted(line));
    // Said once there is a desktop to run on: without one, its own sentence is the news.
    if (!data.warning.empty()) std::fprintf(stderr, "%s\n", data.warning.c_str());
    SystemClock systemClock;
    // A wall clock fixed by the tests that record a session across New Year.
    std::optional<FixedStartClock> fixedClock;
    if (line.clockStart) fixedClock.emplace(systemClock, *line.clockStart);
    Clock& clock = fixedClock ? static_cast<Clock&>(*fixedClock) : systemClock;
    SystemRandom random;
    SdlDesktop desktop(clock, line.scale);
    desktop.OpenAccess(kProductName);
    if (line.fullscreen) desktop.SetFullscreen(true);
    // Sound the program cannot make (no mixer, no soundfont) is said once, when first wanted.
    SdlMedia media(MixerLibraryName(), [](const std::string& sentence) { Complain(sentence); });
    Platform platform{clock, random, desktop, media, pictures};
    if (line.replay) return RunReplay(*line.replay, platform, WritePng);
    if (line.noFlashLimit) Complain(kFlashLimitOff);
    return RunRecordedSession(platform, {line.calm, line.noFlashLimit},
                              {"linux", line.record, StateFolder(std::getenv)},
                              [](const std::string& what) { ShowFatalErrorBox(what); });
  } catch (const NoDesktopError& e) {
    std::fprintf(stderr, "%s\n", e.what());  // a line that is its own complaint
    return 1;
  } catch (const FatalError& e) {
    Complain(e.what());
    ShowFatalErrorBox(e.what());
    return 1;
  }
}
