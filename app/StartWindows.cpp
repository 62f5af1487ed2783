// Ombrevale on Windows: reads its command line, finds its pictures, opens the main window on the
// desktop and runs the title page until it is closed, the session recorded (the flight recorder
// keeps its last minute in %LOCALAPPDATA%\Ombrevale); or plays a replay there.

#include <exception>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/FixedStartClock.h"
#include "app/SessionRun.h"
#include "backends/win32/LocalAppData.h"
#include "backends/win32/ParentConsole.h"
#include "backends/win32/PngFile.h"
#include "backends/win32/ProgramArguments.h"
#include "backends/win32/ProgramFolder.h"
#include "backends/win32/WinClock.h"
#include "backends/win32/WinDesktop.h"
#include "backends/win32/WinMedia.h"
#include "backends/win32/WinPictures.h"
#include "platform/Complaint.h"
#include "platform/FatalError.h"
#include "vision/VisionPictures.h"

namespace {

// A text for the user: on the console that started the program, else in a box.
void Say(std::string_view text, bool error) {
  using namespace ombrevale;
  if (text.empty() || WriteToParentConsole(text, error)) return;
  ShowTextBox(kProductName, text, error);
}

// Where the flight recorder keeps the last minute.
ombrevale::StateFolderChoice FlightFolder() {
  return {ombrevale::LocalAppDataFolder(), "Windows names no local application data folder"};
}

// Opens the main window on the desktop and runs the title page until it is closed, the session
// recorded, or plays the replay asked for; a fatal error is said on stderr as every complaint is,
// then shown in the error box, and ends it with 1.
int RunWindow(const ombrevale::CommandLine& line) {
  using namespace ombrevale;
  const auto showFatal = [](const std::string& what) { ShowTextBox(kProductName, what, true); };
  try {
    WinClock systemClock;
    // A wall clock fixed by the tests that record a session across New Year.
    std::optional<FixedStartClock> fixedClock;
    if (line.clockStart) fixedClock.emplace(systemClock, *line.clockStart);
    Clock& clock = fixedClock ? static_cast<Clock&>(*fixedClock) : systemClock;
    SystemRandom random;
    WinDesktop desktop(clock, line.scale);
    if (line.fullscreen) desktop.SetFullscreen(true);
    WinMedia media;
    WinPictureReader pictures;
    Platform platform{clock, random, desktop, media, pictures};
    if (line.replay) return RunReplay(*line.replay, platform, WritePngFile);
    if (line.noFlashLimit) WriteToParentConsole(Complaint(kFlashLimitOff) + "\n", true);
    // A player who turned Windows' animations off, or asked with --calm, starts calm.
    return RunRecordedSession(platform, {line.calm, line.noFlashLimit},
                              {"windows", line.record, FlightFolder()}, showFatal);
  } catch (const FatalError& e) {
    // Said first, as on Linux, so that a console or a log has it while the box waits.
    Complain(e.what());
    showFatal(e.what());
    return 1;
  }
}

}  // namespace

int main() {
  using namespace ombrevale;
  StdioToParentConsole();
  const std::vector<std::string> args = ProgramArguments();
  const std::vector<std::string_view> views(args.begin(), args.end());
  // Help, the version and a mistyped option are answered before the window opens.
  CommandLine line = ReadCommandLine(views);
  {
    std::ostringstream out, err;
    if (const auto status = Answer(line, out, err)) {
      Say(out.str(), false);
      Say(err.str(), true);
      return *status;
    }
  }

  // The replay's file is named from where the program was started, before it enters its data
  // folder.
  for (std::optional<std::string>* file : {&line.record, &line.replay}) {
    std::error_code ec;
    if (!*file) continue;
    const std::filesystem::path given(std::u8string((*file)->begin(), (*file)->end()));
    const std::u8string whole = std::filesystem::absolute(given, ec).lexically_normal().u8string();
    if (!ec) **file = std::string(whole.begin(), whole.end());
  }

  DataFolderChoice data =
      ChooseDataFolder(DataFolderPlacesHere(line.data, ProgramFolder()), HoldsDatFolder);
  if (const auto complaint = EnterDataFolder(data)) {
    Say(*complaint + "\n", true);
    return 2;  // as for any other bad argument
  }
  if (data.warning.empty()) data.warning = MissingPicturesWarning(VisionFiles());
  // The warning goes to a console when there is one; started from Explorer, the title page
  // simply runs without its pictures.
  if (!data.warning.empty()) WriteToParentConsole(data.warning + "\n", true);
  return RunWindow(line);
}
