#include "platform/flash/FlashTally.h"

#include <algorithm>
#include <cstdio>

namespace ombrevale {

FlashTally::FlashTally(int firstFrame, int framesPerSecond)
    : firstFrame_(firstFrame), framesPerSecond_(framesPerSecond) {}

void FlashTally::Add(const FlashWindow& second) {
  const int frame = firstFrame_ + frames_;
  if (second.generalTransitions > general_.transitions)
    general_ = {second.general, second.generalTransitions, frame, second.generalField};
  if (second.redTransitions > red_.transitions)
    red_ = {second.red, second.redTransitions, frame, second.redField};
  const size_t k = static_cast<size_t>(frames_ / framesPerSecond_);
  if (secondOver_.size() <= k) secondOver_.resize(k + 1, false);
  if (second.general > kThreshold || second.red > kThreshold) secondOver_[k] = true;
  perFrame_.push_back({static_cast<uint8_t>(second.general), static_cast<uint8_t>(second.red)});
  ++frames_;
}

int FlashTally::SecondsOver() const {
  const auto whole = secondOver_.begin() + std::min<size_t>(WholeSeconds(), secondOver_.size());
  return static_cast<int>(std::count(secondOver_.begin(), whole, true));
}

std::string FlashTally::Place(const char* kind, const Most& most) const {
  if (most.transitions == 0) return std::string("no ") + kind + " transition\n";
  const int first = std::max(firstFrame_, most.lastFrame - framesPerSecond_ + 1);
  const double perSecond = framesPerSecond_;
  char line[200];
  std::snprintf(line, sizeof line,
                "most %s flashes: %d (%d transitions) in the second of frames %d to %d (%.2f s to "
                "%.2f s), in the field of %d x %d pixels at (%d, %d)\n",
                kind, most.flashes, most.transitions, first, most.lastFrame, first / perSecond,
                (most.lastFrame + 1) / perSecond, most.field.w, most.field.h, most.field.x,
                most.field.y);
  return line;
}

std::string FlashTally::Places() const {
  return Place("general", general_) + Place("red", red_);
}

std::string FlashTally::LastLine() const {
  char line[160];
  std::snprintf(line, sizeof line,
                "most flashes in one second: %d general, %d red (threshold %d); seconds over it: "
                "%d of %d\n",
                general_.flashes, red_.flashes, kThreshold, SecondsOver(), WholeSeconds());
  return line;
}

}  // namespace ombrevale
