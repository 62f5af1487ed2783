#pragma once

// A hang-up (SIGHUP: the terminal or the session the program was started from went away) ends the
// program as a signal to end does (SIGTERM): the window closes, the sound stops, and the program
// ends with status 0; but unlike a signal someone sent on purpose, it is said on stderr, so that a
// log tells why the window went. A program started not to hear it (nohup) still does not.

namespace ombrevale {

// From now on, a hang-up goes to SDL's handler of SIGTERM, which SDL's events must have installed
// (SDL's video started); unless hang-ups are ignored. Once is enough; again does nothing.
void CloseOnHangUp();
// Hang-ups are handled as before CloseOnHangUp, for when SDL's handlers are gone.
void ForgetHangUp();

}  // namespace ombrevale
