#pragma once

// The calm start, for a player who asked for less motion (the desktop's own setting, or --calm):
// the title vision shows its first frame with the clock and stands still, the page's button over
// it, until the player starts it with the button, Return or Space. From then on it runs as always,
// for the rest of the run.

#include "platform/Desktop.h"
#include "timing/TimeAPI.h"

namespace ombrevale {

// What the page shows while the vision waits.
inline const Prompt kCalmPrompt = {"Start the vision", "Return or Space starts it too"};

class CalmStart {
 public:
  // Asks for a calm start; before the window shows.
  void Ask();
  // After a frame of the vision. The first frame of a calm start holds the vision: its slot goes
  // quiet. Returns whether it held it just now.
  bool AfterFrame(TimeAPI& time);
  // Whether the vision stands still, waiting for the player.
  bool Waiting() const { return state_ == State::Waiting; }
  // The player starts the vision: its slot comes on again, due at once. Returns whether the vision
  // was waiting.
  bool Start(TimeAPI& time);

 private:
  enum class State { Off, Asked, Waiting, Started };
  State state_ = State::Off;
};

}  // namespace ombrevale
