#pragma once

// Ctrl+C and kill for a tool that runs long without a window (the renderer). SIGINT and SIGTERM
// are noted, the work stops at the next point where every file it wrote is whole, and the tool
// then ends by that same signal, with the status a shell expects (130, 143). SDL is told to leave
// them alone: its own handlers would turn them into quit events that nothing here reads.

namespace ombrevale {

// Thrown where the work stops; `main` catches it and ends by the signal.
struct StopAsked {
  int signal;
};

// Notes SIGINT and SIGTERM from here on, unless the tool was started with them ignored (a job
// started in the background without job control); a second one ends the tool at once. Call it
// before SDL starts.
void NoteStopSignals();
// Throws StopAsked once one of them has come.
void StopHereIfAsked();
// Ends the tool by `signal`, as if it had never been caught.
[[noreturn]] void EndBySignal(int signal);

}  // namespace ombrevale
