#pragma once

// The renderer's flash count: a run's frames counted as they would be shown at a size, through
// the flash limiter as the program shows them or as they were drawn, and the lines and the chart
// that report them.

#include <chrono>
#include <memory>
#include <string>

#include "platform/Surface.h"
#include "platform/flash/FlashAnalysis.h"
#include "platform/flash/FlashLimiter.h"
#include "platform/flash/FlashTally.h"

namespace ombrevale {

class FlashReport {
 public:
  // Frames of `width` x `height` seen at `scale`, numbered from `firstFrame`, `framesPerSecond`
  // of them a second; through the limiter when `limited`.
  FlashReport(int width, int height, double scale, bool limited, int firstFrame,
              int framesPerSecond);

  // Counts the run's next frame, shown at `nowMs`.
  void Add(const Surface& frame, uint32_t nowMs);

  // The lines the renderer prints, `run` naming the run: how the page is seen, where the most
  // flashes were, what the limiter did, and the last line,
  // "most flashes in one second: X general, Y red (threshold 3); seconds over it: Z of T".
  std::string Lines(const std::string& run, int lastFrame) const;
  const FlashTally& Tally() const { return tally_; }

 private:
  std::unique_ptr<FlashLimiter> limiter_;
  std::unique_ptr<FlashAnalysis> analysis_;
  FlashTally tally_;
  int firstFrame_;
  Surface shown_;
  std::chrono::steady_clock::duration limiting_{};
};

}  // namespace ombrevale
