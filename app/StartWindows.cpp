// Ombrevale on Windows: reads its command line, finds its pictures, opens the main window on the
// desktop and runs the title page until it is closed.

#include <exception>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/TitleRun.h"
#include "backends/win32/ParentConsole.h"
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

// Opens the main window on the desktop and runs the title page until it is closed; a fatal error
// is shown in the error box, then said on stderr as every complaint is, and ends it with 1.
int RunWindow(const ombrevale::CommandLine& line) {
  using namespace ombrevale;
  try {
    WinClock clock;
    SystemRandom random;
    WinDesktop desktop(clock, line.scale);
    if (line.fullscreen) desktop.SetFullscreen(true);
    WinMedia media;
    WinPictureReader pictures;
    Platform platform{clock, random, desktop, media, pictures};
    if (line.noFlashLimit) WriteToParentConsole(Complaint(kFlashLimitOff) + "\n", true);
    return RunTitle(platform, {line.calm, line.noFlashLimit});
  } catch (const FatalError& e) {
    // Said first, as on Linux, so that a console or a log has it while the box waits.
    WriteToParentConsole(Complaint(e.what()) + "\n", true);
    ShowTextBox(kProductName, e.what(), true);
    return 1;
  }
}

}  // namespace

int main() {
  using namespace ombrevale;
  const std::vector<std::string> args = ProgramArguments();
  const std::vector<std::string_view> views(args.begin(), args.end());
  // Help, the version and a mistyped option are answered before the window opens.
  const CommandLine line = ReadCommandLine(views);
  {
    std::ostringstream out, err;
    if (const auto status = Answer(line, out, err)) {
      Say(out.str(), false);
      Say(err.str(), true);
      return *status;
    }
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
