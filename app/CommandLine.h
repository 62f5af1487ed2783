#pragma once
// The program's command line: what a person may ask for when starting it, read before anything
// opens on the desktop, and answered as GNU programs answer.

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "platform/Complaint.h"

namespace ombrevale {

struct CommandLine {
  enum class Ask { Run, Help, Version, Misuse };
  Ask ask = Ask::Run;
  // --data DIR: the folder whose dat/ holds the pictures.
  std::optional<std::string> data;
  // --fullscreen: start on the whole screen.
  bool fullscreen = false;
  // --scale N: the page's whole factor (1 to 8), whatever the desktop's scale.
  std::optional<int> scale;
  // --calm: start with the vision still, whatever the desktop's own setting.
  bool calm = false;
  // --no-flash-limit: show the vision as designed, its flashes not limited to the safe number.
  bool noFlashLimit = false;
  // --record FILE: write the session as a replay when it ends.
  std::optional<std::string> record;
  // --replay FILE: play that replay instead, as the player saw it, checking every frame.
  std::optional<std::string> replay;
  // --clock-start "YYYY/MM/DD H:MM:SS": the wall clock starts there (for tests; not in --help).
  std::optional<DateTimeFields> clockStart;
  // For a misuse, the one sentence that says what was wrong, without the program's name.
  std::string complaint;
  // The program's name as it was started (argv[0]: "ombrevale", "build/ombrevale"), for the
  // commands the program suggests; empty where the system does not say.
  std::string startedAs;
};

// Reads the arguments that follow the program's name, in order; the first --help, --version or
// mistake ends the reading. A later --data overrides an earlier one; "--" ends the options.
CommandLine ReadCommandLine(std::span<const std::string_view> args);
// The same from main's arguments, the program's name among them.
CommandLine ReadCommandLine(int argc, const char* const* argv);

// What --help prints.
std::string Usage();

// The program as the player can start it again: the name it was started by, else its command
// name; shown printable.
std::string CommandAsStarted(const CommandLine& line);

// Answers a command line that does not ask to run: --help (the usage on `out`, status 0),
// --version (the version on `out`, status 0), or a misuse (the complaint, then a line that points
// to --help, on `err`, status 2); status 1 when the answer could not be written. Returns nothing,
// and writes nothing, when the program should run.
std::optional<int> Answer(const CommandLine& line, std::ostream& out, std::ostream& err);

}  // namespace ombrevale
