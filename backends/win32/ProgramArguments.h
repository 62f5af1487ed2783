#pragma once

// The program's arguments on Windows, read from the system's own UTF-16 command line, so that a
// folder name in any script reaches the program whole.

#include <string>
#include <vector>

namespace ombrevale {

// The arguments after the program's name, as UTF-8.
std::vector<std::string> ProgramArguments();

}  // namespace ombrevale
