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
// The same for every unit of light, kFullLight + 1 of them, for a loop over many pixels.
const uint8_t* ChannelsOfLinear();

// The measures below are written as 16-bit vector code computes them, so that a loop over many
// pixels and a single pixel agree to the unit.
//
// The relative luminance 0.2126 R + 0.7152 G + 0.0722 B, in units: each channel times its weight
// in 65536ths, the fraction dropped (white comes to 65533, a hair under kFullLight).
inline int LuminanceOf(const LinearRgb& c) {
  const auto part = [](int channel, uint32_t weight) {
    return static_cast<int>((static_cast<uint32_t>(channel) * weight) >> 16);
  };
  return part(c.r, 13933u) + part(c.g, 46871u) + part(c.b, 4732u);
}
// The red measure, (R - G - B) x 320 with 0 where that is negative, in units of 320 / 65535: a
// change of 20 in the measure is 4096 units.
inline int RedExcessOf(const LinearRgb& c) {
  const int excess = c.r - c.g - c.b;
  return excess > 0 ? excess : 0;
}
// Whether the colour is a saturated red: R / (R + G + B) >= 0.8 in linear light, that is
// R >= 4 (G + B), that is R / 4 >= G + B in whole units; black is none.
inline bool SaturatedRedOf(const LinearRgb& c) {
  return (c.r > 0) & ((c.r >> 2) >= c.g + c.b);
}

// The relative luminance of one pixel, from 0 (black) to 1 (white).
float RelativeLuminance(Pixel p);

}  // namespace ombrevale
