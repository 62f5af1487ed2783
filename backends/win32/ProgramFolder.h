#pragma once

// The folder the running program file lies in: an installed copy keeps its dat/ beside it.

#include <string>

namespace ombrevale {

// The folder of the running .exe, in the form the program's paths take; empty when the system
// does not say.
std::string ProgramFolder();

}  // namespace ombrevale
