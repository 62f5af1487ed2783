#pragma once

// The renderer's flash count: a run's frames counted as they would be shown at a size, through
// the flash limiter as the program shows them or as they were drawn, and the lines and the chart
// that report them.

#include <chrono>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/Surface.h"
#include "platform/flash/FlashAnalysis.h"
#include "platform/flash/FlashLimiter.h"
#include "platform/flash/FlashTally.h"

namespace ombrevale {

// How a run is named in the lines: "seed 1 from 2026/12/07 6:38:40, seen at 2x, limited".
std::string FlashRunName(uint32_t seed, const DateTimeFields& start, double scale, bool limited);

class FlashReport {
 public:
  // Frames of `width` x `height` seen at `scale`, numbered from `firstFrame`, `framesPerSecond`
  // of them a second; counted as drawn, and when `limited` also as the limiter lets them through.
  FlashReport(int width, int height, double scale, bool limited, int firstFrame,
              int framesPerSecond);

  // Counts the run's next frame, shown at `nowMs`.
  void Add(const Surface& frame, uint32_t nowMs);

  // The lines the renderer prints, `run` naming the run: how the page is seen; when limited, the
  // count of the frames as drawn and what the limiter did; where the most flashes shown were; and
  // the last line, "most flashes in one second: X general, Y red (threshold 3); seconds over it:
  // Z of T", of the frames shown.
  std::string Lines(const std::string& run, int lastFrame) const;
  // The frame last added as it is shown: through the limiter, or as it was drawn (`added`).
  const Surface& ShownFrame(const Surface& added) const { return limiter_ ? frame_ : added; }
  // The count of the frames shown.
  const FlashTally& Tally() const { return limiter_ ? shown_ : drawn_; }

 private:
  std::string LimiterLine() const;

  FlashAnalysis analysis_;
  std::unique_ptr<FlashLimiter> limiter_;
  FlashTally drawn_, shown_;
  int firstFrame_;
  Surface frame_;
  std::chrono::steady_clock::duration limiting_{};
};

}  // namespace ombrevale
