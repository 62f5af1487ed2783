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

  bool operator==(const PixelSwing&) const = default;
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

// The rule on plain numbers, without branches, so that a loop over many pixels runs as vector
// code: the transition a luminance `v` makes after `low`, `high` and `way` (+1, -1 or 0). Where
// both a fall and a rise could be (before any turn, far from both ends), it is a fall.
inline int LuminanceTurnOf(int low, int high, int way, int v) {
  const int fall = (way >= 0) & (high - v >= kLuminanceStep) & (v < kDarkLimit);
  const int rise = (way <= 0) & (v - low >= kLuminanceStep) & (low < kDarkLimit);
  return (rise & (fall ^ 1)) - fall;
}
// The same for red: the red measure `m` of a colour that is a saturated red or not, after the
// lowest and highest measure (each a saturated red or not) and `way`.
inline int RedTurnOf(int low, int high, int way, int lowSaturated, int highSaturated, int m,
                     int saturated) {
  const int fall = (way >= 0) & (high - m >= kRedStep) & (highSaturated | saturated);
  const int rise = (way <= 0) & (m - low >= kRedStep) & (lowSaturated | saturated);
  return (rise & (fall ^ 1)) - fall;
}

inline int LuminanceTurn(const PixelSwing& s, const PixelLight& light) {
  return LuminanceTurnOf(s.low, s.high, s.way, light.luminance);
}
inline int RedTurn(const PixelSwing& s, const PixelLight& light) {
  return RedTurnOf(s.redLow, s.redHigh, s.redWay, s.redLowSaturated, s.redHighSaturated, light.red,
                   light.saturated);
}

}  // namespace ombrevale
