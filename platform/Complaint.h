#pragma once

// How the program speaks on stderr, the same on every desktop: as GNU programs do, each line
// begins with the command's name and a colon ("ombrevale: no usable font for ..."), then one
// sentence that starts in lower case.
// - A warning says what is missing and what the program does without it; the program goes on.
// - A fatal error (FatalError) is said once, then shown in the platform's error box where there is
//   a desktop to show it, and the program ends with status 1.
// - A mistake on the command line is said with the usage, and the program ends with status 2.

#include <cstdio>
#include <string>
#include <string_view>

namespace ombrevale {

// The name the program is started by, and the one it signs its complaints with.
inline constexpr std::string_view kCommandName = "ombrevale";

// The line for `sentence`, as it goes to stderr, without its line break.
inline std::string Complaint(std::string_view sentence) {
  std::string line(kCommandName);
  line += ": ";
  line += sentence;
  return line;
}

// Writes the line for `sentence` to stderr.
inline void Complain(std::string_view sentence) {
  std::fprintf(stderr, "%s\n", Complaint(sentence).c_str());
}

}  // namespace ombrevale
