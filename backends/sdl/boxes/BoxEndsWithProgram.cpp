#include "backends/sdl/boxes/BoxEndsWithProgram.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <mutex>

namespace ombrevale {
namespace {

// The program's own id while a box is being shown, else 0. A process started meanwhile finds it
// in its copy of the program's memory.
std::atomic<pid_t> boxShownBy{0};

// Run in each new process, before SDL's own code there (or zenity) runs: the system is asked to
// send it SIGKILL when the thread that started it ends, which for the box is the program's main
// thread, ending with the program. A program that ended before the asking is no longer its
// parent: then it ends at once. Where the system cannot be asked, the box shows all the same.
void TieToTheProgram() {
  const pid_t program = boxShownBy.load(std::memory_order_relaxed);
  if (program == 0) return;
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) == 0 && getppid() != program) _exit(1);
}

}  // namespace

BoxEndsWithProgram::BoxEndsWithProgram() {
  // The system keeps what runs in a new process for the rest of the program: asked once.
  static std::once_flag asked;
  std::call_once(asked, [] { pthread_atfork(nullptr, nullptr, TieToTheProgram); });
  boxShownBy = getpid();
}

BoxEndsWithProgram::~BoxEndsWithProgram() {
  boxShownBy = 0;
}

}  // namespace ombrevale
