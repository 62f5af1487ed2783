#include "platform/Random.h"

#include <cmath>

namespace ombrevale {

void SystemRandom::Randomize(uint32_t clockSeed) {
  engine_.seed(clockSeed);
}

float SystemRandom::Rnd() {
  // 24 random bits fill a float's mantissa exactly: multiples of 2^-24 in [0, 1).
  return static_cast<float>(engine_() >> 8) * 0x1p-24f;
}

int FloorInt(float v) {
  return static_cast<int>(std::floor(v));
}

int RoundHalfEven(float v) {
  // nearbyint rounds in the current mode, which is to nearest with ties to even.
  return static_cast<int>(std::nearbyint(v));
}

}  // namespace ombrevale
