#pragma once

// SDL shows its error box from a process of its own (a copy of the program on X11, zenity on
// Wayland) and waits for it. Ended by a signal meanwhile, the program would leave that process,
// and its box, on the screen with no one to close it for. While a BoxEndsWithProgram lives, a
// process started from the thread that shows the box is ended by the system as soon as that
// thread is, and so with the program, however it ends (SIGTERM, Ctrl+C, even SIGKILL). And a
// SIGTERM or Ctrl+C ends the program at once, as it would without SDL: SDL's own handlers, which
// turn them into a quit for a window, leave a program that waits on its error box running.

#include <csignal>

namespace ombrevale {

class BoxEndsWithProgram {
 public:
  // Construct it on the thread that shows the box, just before, and keep it until the box closes.
  BoxEndsWithProgram();
  ~BoxEndsWithProgram();
  BoxEndsWithProgram(const BoxEndsWithProgram&) = delete;
  BoxEndsWithProgram& operator=(const BoxEndsWithProgram&) = delete;

 private:
  struct sigaction term_ {}, interrupt_ {};  // as they were before the box
};

}  // namespace ombrevale
