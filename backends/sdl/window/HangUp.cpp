#include "backends/sdl/window/HangUp.h"

#include <signal.h>
#include <unistd.h>

#include <string>

#include "platform/Complaint.h"

namespace ombrevale {
namespace {

constexpr const char* kSentence =
    "the terminal or session it was started from hung up (SIGHUP), so the window closes";

struct sigaction previous {};
bool installed = false;
// Written whole before the handler is installed: the handler itself may not build it.
std::string line;

void OnHangUp(int) {
  // Only what is safe in a signal handler: one write, and the signal SDL already turns into a
  // quit, delivered to this very thread, whose wait it interrupts.
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, line.data(), line.size());
  raise(SIGTERM);
}

}  // namespace

void CloseOnHangUp() {
  if (installed) return;
  line = Complaint(kSentence) + "\n";
  struct sigaction now {};
  if (sigaction(SIGHUP, nullptr, &now) != 0 || now.sa_handler == SIG_IGN) return;  // nohup
  struct sigaction action {};
  action.sa_handler = OnHangUp;
  sigemptyset(&action.sa_mask);
  if (sigaction(SIGHUP, &action, &previous) == 0) installed = true;
}

void ForgetHangUp() {
  if (!installed) return;
  sigaction(SIGHUP, &previous, nullptr);
  installed = false;
}

}  // namespace ombrevale
