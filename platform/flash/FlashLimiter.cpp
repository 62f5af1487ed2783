#include "platform/flash/FlashLimiter.h"

namespace ombrevale {

FlashLimiter::FlashLimiter(int width, int height) : width_(width), height_(height) {}

void FlashLimiter::SetShownScale(double scale) {
  scale_ = scale;
}

bool FlashLimiter::Limit(Surface& frame, uint32_t nowMs) {
  (void)frame;
  (void)nowMs;
  return false;  // a frame passes as it is until the limiter counts
}

}  // namespace ombrevale
