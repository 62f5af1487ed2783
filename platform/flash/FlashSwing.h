#pragma once

// What one pixel remembers of its light between frames, and the rule by which its light makes a
// transition: a move of at least a tenth of the luminance from its last turn the other way, the
// darker end below 0.8; for red, a move of more than 20 in the red measure with a saturated red at
// one end. The count and the limiter both step a pixel through this one rule.

#include <cstdint>

#include "platform/flash/FlashLight.h"

namespace ombrevale {

// The thresholds in the units of FlashLight.h: a tenth of the luminance (6553.5 units, so a move
// of 6554 or more), 0.8 of it, and 20 in the red measure (4095.9 units, so 4096 or more).
inline constexpr int kLuminanceStep = 6554, kDarkLimit = 52428, kRedStep = 4096;

// A pixel's light since its last transition of each kind: the lowest and the highest since then
// (both its light at the transition, or at its first frame), which way that transition went (+1
// a rise, -1 a fall, 0 none yet), and for red whether the lowest and the highest were a saturated
// red. A change spread over several frames adds up from the last turn, so it counts once, at the
// frame where it reaches the step.
struct PixelSwing {
  uint16_t low = 0, high = 0;
  uint16_t redLow = 0, redHigh = 0;
  int8_t way = 0, redWay = 0;
  bool redLowSaturated = false, redHighSaturated = false;
};

// One frame's light at a pixel, measured.
struct PixelLight {
  int luminance = 0;
  int red = 0;  // the red measure
  bool saturated = false;
};

inline PixelLight LightOf(const LinearRgb& c) {
  return {LuminanceOf(c), RedExcessOf(c), SaturatedRedOf(c)};
}

// The swing of a pixel first seen with `light`: no transition before it.
inline PixelSwing FirstSwing(const PixelLight& light) {
  const auto l = static_cast<uint16_t>(light.luminance), r = static_cast<uint16_t>(light.red);
  return {l, l, r, r, 0, 0, light.saturated, light.saturated};
}

// The luminance transition showing `light` makes: +1, -1 or 0.
inline int LuminanceTurn(const PixelSwing& s, const PixelLight& light) {
  const int v = light.luminance;
  if (s.way >= 0 && s.high - v >= kLuminanceStep && v < kDarkLimit) return -1;
  if (s.way <= 0 && v - s.low >= kLuminanceStep && s.low < kDarkLimit) return 1;
  return 0;
}

// The red transition showing `light` makes: +1, -1 or 0.
inline int RedTurn(const PixelSwing& s, const PixelLight& light) {
  const int m = light.red;
  if (s.redWay >= 0 && s.redHigh - m >= kRedStep && (s.redHighSaturated || light.saturated))
    return -1;
  if (s.redWay <= 0 && m - s.redLow >= kRedStep && (s.redLowSaturated || light.saturated)) return 1;
  return 0;
}

// Moves the swing on by a frame that shows `light`, with the turns it makes (from the two
// functions above).
inline void StepSwing(PixelSwing& s, const PixelLight& light, int turn, int redTurn) {
  const auto l = static_cast<uint16_t>(light.luminance);
  if (turn != 0) {
    s.way = static_cast<int8_t>(turn);
    s.low = s.high = l;
  } else {
    if (l < s.low) s.low = l;
    if (l > s.high) s.high = l;
  }
  const auto r = static_cast<uint16_t>(light.red);
  if (redTurn != 0) {
    s.redWay = static_cast<int8_t>(redTurn);
    s.redLow = s.redHigh = r;
    s.redLowSaturated = s.redHighSaturated = light.saturated;
    return;
  }
  if (r < s.redLow) {
    s.redLow = r;
    s.redLowSaturated = light.saturated;
  }
  if (r > s.redHigh) {
    s.redHigh = r;
    s.redHighSaturated = light.saturated;
  }
}

}  // namespace ombrevale
