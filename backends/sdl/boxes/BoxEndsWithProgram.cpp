#include "backends/sdl/boxes/BoxEndsWithProgram.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <mutex>
#include <utility>

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
  // The signals' own ending, where they are not ignored (nohup).
  struct sigaction ending {};
  ending.sa_handler = SIG_DFL;
  sigemptyset(&ending.sa_mask);
  for (auto [signal, before] : {std::pair{SIGTERM, &term_}, std::pair{SIGINT, &interrupt_}}) {
    if (sigaction(signal, nullptr, before) == 0 && before->sa_handler != SIG_IGN)
      sigaction(signal, &ending, nullptr);
  }
}

BoxEndsWithProgram::~BoxEndsWithProgram() {
  sigaction(SIGTERM, &term_, nullptr);
  sigaction(SIGINT, &interrupt_, nullptr);
  boxShownBy = 0;
}

}  // namespace ombrevale
