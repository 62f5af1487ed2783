#include "app/CommandLine.h"

#include <utility>
#include <vector>

#include "app/Form1.h"
#include "platform/calendar/FixedStart.h"
#include "platform/scale/PageScale.h"

namespace ombrevale {
namespace {

CommandLine Misuse(std::string complaint) {
  CommandLine line;
  line.ask = CommandLine::Ask::Misuse;
  line.complaint = std::move(complaint);
  return line;
}

std::string Quoted(std::string_view text) {
  std::string quoted(text.size() + 2, '\'');
  text.copy(quoted.data() + 1, text.size());
  return quoted;
}

// The options that take a value.
bool TakesValue(std::string_view name) {
  return name == "--data" || name == "--scale" || name == "--record" || name == "--replay" ||
         name == "--clock-start";
}

// Takes the value of an option that has one (--data, --scale, --record ...) into `line`; a misuse
// when the value is not one the option takes.
std::optional<CommandLine> TakeValue(std::string_view name, std::string_view value,
                                     CommandLine& line) {
  if (name == "--data") {
    line.data = std::string(value);
  } else if (name == "--record" || name == "--replay") {
    if (value.empty()) return Misuse("option " + Quoted(name) + " requires a file");
    (name == "--record" ? line.record : line.replay) = std::string(value);
  } else if (name == "--clock-start") {
    line.clockStart = ReadDateTime(std::string(value));
    if (!line.clockStart)
      return Misuse("invalid clock start " + Quoted(value) + ": a date and time like " +
                    Quoted("2026/12/31 23:59:30"));
  } else if (const std::optional<int> scale = ReadPageScale(value)) {
    line.scale = scale;
  } else {
    return Misuse("invalid scale " + Quoted(value) + ": a whole number from " +
                  std::to_string(kMinPageScale) + " to " + std::to_string(kMaxPageScale));
  }
  return std::nullopt;
}

// What an option that takes no value switches on, if it is one.
bool* SwitchOf(std::string_view name, CommandLine& line) {
  if (name == "--fullscreen") return &line.fullscreen;
  if (name == "--calm") return &line.calm;
  if (name == "--no-flash-limit") return &line.noFlashLimit;
  return nullptr;
}

}  // namespace

CommandLine ReadCommandLine(std::span<const std::string_view> args) {
  CommandLine line;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    // Everything that is not an option is a stray argument: the program takes no operands.
    if (optionsEnded || arg.size() < 2 || arg[0] != '-')
      return Misuse("extra operand " + Quoted(arg));
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg[1] != '-') return Misuse("invalid option -- " + Quoted(arg.substr(1, 1)));

    // A long option, maybe with its value after "=", or in the next argument.
    const size_t equals = arg.find('=');
    const bool attached = equals != std::string_view::npos;
    const std::string_view name = arg.substr(0, equals);
    if (TakesValue(name)) {
      if (!attached && i + 1 >= args.size())
        return Misuse("option " + Quoted(name) + " requires an argument");
      const std::string_view value = attached ? arg.substr(equals + 1) : args[++i];
      if (auto misuse = TakeValue(name, value, line)) return *misuse;
      continue;
    }
    bool* on = SwitchOf(name, line);
    if (on == nullptr && name != "--help" && name != "--version")
      return Misuse("unrecognized option " + Quoted(arg));
    if (attached) return Misuse("option " + Quoted(name) + " doesn't allow an argument");
    if (on != nullptr) {
      *on = true;
      continue;
    }
    CommandLine answer;
    answer.ask = name == "--help" ? CommandLine::Ask::Help : CommandLine::Ask::Version;
    return answer;
  }
  if (line.record && line.replay) return Misuse("--record and --replay cannot go together");
  return line;
}

CommandLine ReadCommandLine(int argc, const char* const* argv) {
  std::vector<std::string_view> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  CommandLine line = ReadCommandLine(args);
  if (argc > 0 && argv[0] != nullptr) line.startedAs = argv[0];
  return line;
}

std::string CommandAsStarted(const CommandLine& line) {
  return Printable(line.startedAs.empty() ? kCommandName : std::string_view(line.startedAs));
}

std::string Usage() {
  std::string text = "Usage: ";
  text += kCommandName;
  text += " [OPTION]...\nOpens the title page of ";
  text += VersionLine();
  text +=
      " in a window.\n"
      "\n"
      "      --calm        start with the vision still, until Return, Space or its\n"
      "                      button starts it (also when the desktop's animations are off)\n"
      "      --data=DIR    take the pictures from the dat/ folder in DIR\n"
      "      --fullscreen  start on the whole screen (F11 or Alt+Enter switches back)\n"
      "      --no-flash-limit  show the vision as designed: its flashes are not kept\n"
      "                      to what is safe at the size it is shown at\n"
      "      --record=FILE write the session to FILE as a replay when it ends\n"
      "      --replay=FILE play the replay in FILE as it was seen, checking every frame:\n"
      "                      status 0 when each was as recorded, 1 when one was not\n"
      "      --scale=N     draw the page N times its natural size, 1 to 8 (by default\n"
      "                      the nearest whole number to the desktop's scale)\n"
      "      --help        display this help and exit\n"
      "      --version     output version information and exit\n"
      "\n"
      "Without --data, the pictures come from the dat/ folder in the current folder\n"
      "when there is one, else from the data folder installed with the program.\n"
      "\n"
      "Ctrl+Shift+R keeps the last minute of the session as a replay in\n"
      "$XDG_STATE_HOME/ombrevale (~/.local/state/ombrevale), as a fatal error does.\n"
      "\n"
      "The title vision flashes, though never more than is safe at the size it is\n"
      "shown at, unless --no-flash-limit. To start it still, use --calm or turn the\n"
      "desktop's animations off.\n"
      "\n"
      "To quit, close the window (Alt+F4 on most desktops).\n";
  return text;
}

std::optional<int> Answer(const CommandLine& line, std::ostream& out, std::ostream& err) {
  switch (line.ask) {
    case CommandLine::Ask::Run:
      return std::nullopt;
    case CommandLine::Ask::Help:
      out << Usage() << std::flush;
      return out ? 0 : 1;  // a help that could not be written is a failure, as in GNU programs
    case CommandLine::Ask::Version:
      out << VersionLine() << '\n' << std::flush;
      return out ? 0 : 1;
    case CommandLine::Ask::Misuse:
      // One line for what was wrong and one for where to read, as GNU programs answer.
      err << Complaint(line.complaint) << "\nTry '" << CommandAsStarted(line) << " --help'.\n"
          << std::flush;
      return 2;
  }
  return 2;
}

}  // namespace ombrevale
