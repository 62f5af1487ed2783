#include "tools/StopSignals.h"

#include <SDL.h>

#include <csignal>
#include <cstdlib>

namespace ombrevale {
namespace {

// The signal that came, or 0: all a handler may safely write.
volatile std::sig_atomic_t stopSignal = 0;

void Note(int signal) {
  stopSignal = signal;
}

void NoteUnlessIgnored(int signal) {
  struct sigaction now {};
  if (sigaction(signal, nullptr, &now) != 0 || now.sa_handler == SIG_IGN) return;
  struct sigaction note {};
  note.sa_handler = Note;
  sigemptyset(&note.sa_mask);
  // The handler is taken back as it runs: a second signal ends the tool at once.
  note.sa_flags = SA_RESETHAND | SA_RESTART;
  sigaction(signal, &note, nullptr);
}

}  // namespace

void NoteStopSignals() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  NoteUnlessIgnored(SIGINT);
  NoteUnlessIgnored(SIGTERM);
}

void StopHereIfAsked() {
  if (stopSignal != 0) throw StopAsked{stopSignal};
}

void EndBySignal(int signal) {
  std::signal(signal, SIG_DFL);
  std::raise(signal);
  std::_Exit(128 + signal);  // were the signal held back
}

}  // namespace ombrevale
