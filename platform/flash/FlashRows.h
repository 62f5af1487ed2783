#pragma once

// The flash count's work on every pixel of a frame, kept in one array per quantity so that the
// loops over them run as vector code: each pixel's memory (FlashSwing.h), the light measured in
// the frame looked at, and the transitions showing it would make.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Surface.h"
#include "platform/flash/FlashSwing.h"

namespace ombrevale {

struct PixelPlanes {
  explicit PixelPlanes(size_t pixels);

  // Each pixel's PixelSwing, member by member; the saturated ends as bits (1 the lowest, 2 the
  // highest).
  std::vector<uint16_t> low, high, redLow, redHigh;
  std::vector<int8_t> way, redWay;
  std::vector<uint8_t> redSaturated;
  // The light of the frame looked at.
  std::vector<uint16_t> luminance, red;
  std::vector<uint8_t> saturated;
  // The transitions showing it would make: general, red.
  std::vector<int8_t> turns[2];

  PixelSwing Swing(size_t i) const {
    return {low[i],
            high[i],
            redLow[i],
            redHigh[i],
            way[i],
            redWay[i],
            (redSaturated[i] & 1) != 0,
            (redSaturated[i] & 2) != 0};
  }
  // Measures pixel `i` of colour `p` and its transitions, one pixel alone.
  void Measure(size_t i, Pixel p);
};

// How many pixels make a transition of each kind.
struct TurnCounts {
  int general = 0, red = 0;
};

// Measures `count` pixels from pixel `first`, of colours `pixels`, with their transitions (none
// before a first frame: when `started` is false).
TurnCounts MeasurePixels(PixelPlanes& planes, size_t first, size_t count, const Pixel* pixels,
                         bool started);

// Moves each pixel's memory on by the frame measured: a first frame starts it.
void StepPixels(PixelPlanes& planes, bool started);

}  // namespace ombrevale
