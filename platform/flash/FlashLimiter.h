#pragma once

// Keeps the vision safe to look at whatever size it is shown at: every frame passes through it
// before it is shown, and one that would make a second flash more than the safe limit is changed,
// as little as it needs, so that it does not.

#include <cstdint>

#include "platform/Surface.h"

namespace ombrevale {

class FlashLimiter {
 public:
  // For frames of `width` x `height` pixels.
  FlashLimiter(int width, int height);

  // The frames are shown at `scale` reference pixels to a pixel (Desktop::ShownScale) from now on.
  void SetShownScale(double scale);

  // Passes the frame about to be shown at `nowMs` on the millisecond clock: leaves it untouched
  // when showing it keeps every second within the limit, else changes it as little as needed.
  // Returns whether it changed the frame.
  bool Limit(Surface& frame, uint32_t nowMs);

 private:
  int width_, height_;
  double scale_ = 1;
};

}  // namespace ombrevale
