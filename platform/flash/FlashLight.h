#pragma once

// The light of a pixel as the flash count weighs it: each channel of an sRGB pixel in linear
// light, the relative luminance, and how much of a saturated red it is; in whole units, so that
// every frame is measured alike and fast, and back from linear light to an 8-bit channel.

#include <cstdint>

#include "platform/Surface.h"

namespace ombrevale {

// Linear light in units of 1 / 65535: 0 is black, kFullLight the brightest a channel gives.
inline constexpr int kFullLight = 65535;

// A pixel's three channels in linear light (c / 12.92 up to c = 0.04045, else
// ((c + 0.055) / 1.055) ^ 2.4, with c the channel from 0 to 1), rounded to units.
struct LinearRgb {
  int r = 0, g = 0, b = 0;
};
LinearRgb LinearOf(Pixel p);
// The 256 channels' linear light in units, for a loop that measures many pixels.
const int* LinearUnits();
// The channel c (0 to 255) in linear light, from 0 to 1.
float LinearChannel(uint8_t c);
// The 8-bit channel nearest a linear light of `units` (0 to kFullLight).
uint8_t ChannelOfLinear(int units);

// The relative luminance 0.2126 R + 0.7152 G + 0.0722 B, in units (kFullLight is white).
inline int LuminanceOf(const LinearRgb& c) {
  // The weights in 65536ths add up to 65536: white comes to kFullLight, within 32 bits unsigned.
  const uint32_t sum = 13933u * static_cast<uint32_t>(c.r) + 46871u * static_cast<uint32_t>(c.g) +
                       4732u * static_cast<uint32_t>(c.b) + 32768u;
  return static_cast<int>(sum >> 16);
}
// The red measure, (R - G - B) x 320 with 0 where that is negative, in units of 320 / 65535: a
// change of 20 in the measure is 4096 units.
inline int RedExcessOf(const LinearRgb& c) {
  const int excess = c.r - c.g - c.b;
  return excess > 0 ? excess : 0;
}
// Whether the colour is a saturated red: R / (R + G + B) >= 0.8 in linear light (black is none).
inline bool SaturatedRedOf(const LinearRgb& c) {
  const int sum = c.r + c.g + c.b;
  return sum > 0 && 5 * c.r >= 4 * sum;
}

// The relative luminance of one pixel, from 0 (black) to 1 (white).
float RelativeLuminance(Pixel p);

}  // namespace ombrevale
