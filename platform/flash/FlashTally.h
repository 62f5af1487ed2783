#pragma once

// The record of a run's flashes: the most flashes in one second of each kind and where they were,
// and how many of the run's whole seconds went over the threshold, said in the lines the
// renderer prints.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Rect.h"
#include "platform/flash/FlashAnalysis.h"

namespace ombrevale {

class FlashTally {
 public:
  // WCAG allows at most three flashes in any one second: six transitions.
  static constexpr int kThreshold = 3;

  // The most flashes of one kind in a second: how many, of how many transitions, the frame that
  // second ends with (its index in the run, -1 before any transition) and the field they were
  // counted in.
  struct Most {
    int flashes = 0;
    int transitions = 0;
    int lastFrame = -1;
    Rect field;
  };

  // The flashes in the second up to one frame; a second holds at most 32 of each kind.
  struct Counts {
    uint8_t general = 0;
    uint8_t red = 0;
  };

  // The frames are numbered in the run from `firstFrame`, `framesPerSecond` to a second.
  FlashTally(int firstFrame, int framesPerSecond);

  // The second up to the run's next frame, as the analysis gave it.
  void Add(const FlashWindow& second);

  const Most& General() const { return general_; }
  const Most& Red() const { return red_; }
  // The run's whole seconds: its frames cut into seconds from the first, a last part left out.
  int WholeSeconds() const { return frames_ / framesPerSecond_; }
  // The whole seconds over the threshold: second k (the run's frames k x framesPerSecond to
  // (k + 1) x framesPerSecond - 1) is over when the second up to one of its frames holds more
  // than three general or more than three red flashes (seven transitions or more).
  int SecondsOver() const;

  // The second up to each frame of the run, from its first: what the plot draws.
  const std::vector<Counts>& PerFrame() const { return perFrame_; }
  int FirstFrame() const { return firstFrame_; }
  int FramesPerSecond() const { return framesPerSecond_; }

  // Where the most of each kind were, a line each.
  std::string Places() const;
  // "most flashes in one second: X general, Y red (threshold 3); seconds over it: Z of T"
  std::string LastLine() const;

 private:
  std::string Place(const char* kind, const Most& most) const;

  int firstFrame_, framesPerSecond_;
  int frames_ = 0;
  Most general_, red_;
  std::vector<bool> secondOver_;
  std::vector<Counts> perFrame_;
};

}  // namespace ombrevale
