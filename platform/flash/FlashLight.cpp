#include "platform/flash/FlashLight.h"

#include <array>
#include <cmath>
#include <vector>

namespace ombrevale {

namespace {

double Linear(int c) {
  const double v = c / 255.0;
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

// The 256 values of a channel in linear light, in units and as a fraction, made once.
struct Tables {
  std::array<int, 256> units{};
  std::array<float, 256> fraction{};
  // Per unit of linear light, the nearest channel: 64 KB, so that a blend is put back into
  // 8 bits without a search.
  std::vector<uint8_t> channel;

  Tables() : channel(kFullLight + 1) {
    for (int i = 0; i < 256; ++i) {
      fraction[i] = static_cast<float>(Linear(i));
      units[i] = static_cast<int>(std::lround(Linear(i) * kFullLight));
    }
    int c = 0;
    for (int u = 0; u <= kFullLight; ++u) {
      // Past the midpoint between two channels' light, the upper one is nearer.
      while (c < 255 && 2 * u > units[c] + units[c + 1]) ++c;
      channel[u] = static_cast<uint8_t>(c);
    }
  }
};

const Tables& TheTables() {
  static const Tables tables;
  return tables;
}

}  // namespace

LinearRgb LinearOf(Pixel p) {
  const auto& units = TheTables().units;
  return {units[(p >> 16) & 0xFF], units[(p >> 8) & 0xFF], units[p & 0xFF]};
}

const int* LinearUnits() {
  return TheTables().units.data();
}

float LinearChannel(uint8_t c) {
  return TheTables().fraction[c];
}

const uint8_t* ChannelsOfLinear() {
  return TheTables().channel.data();
}

uint8_t ChannelOfLinear(int units) {
  return TheTables().channel[units < 0 ? 0 : units > kFullLight ? kFullLight : units];
}

float RelativeLuminance(Pixel p) {
  const auto& f = TheTables().fraction;
  return 0.2126f * f[(p >> 16) & 0xFF] + 0.7152f * f[(p >> 8) & 0xFF] + 0.0722f * f[p & 0xFF];
}

}  // namespace ombrevale
