#pragma once

// Whether the desktop's accessibility bus runs now, asked before the bridge is loaded: a session
// bus can start one on demand, but starting it would hold the window's start up by a tenth of a
// second or more, for nobody, since a screen reader that runs has started it already.

namespace ombrevale {

// True where the bus's own address is given (AT_SPI_BUS_ADDRESS), or the session bus (at
// `sessionAddress`) says the bus's launcher holds its name; false where the session bus cannot be
// reached or says no. `env` reads a variable.
bool AccessBusRuns(const char* (*env)(const char*), const char* sessionAddress);

}  // namespace ombrevale
