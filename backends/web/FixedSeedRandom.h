#pragma once

// The page's random source when its address fixes a seed: the vision then draws the same frames
// as the renderer given that seed, for tests and bug reports.

#include <cstdint>

#include "platform/Random.h"

namespace ombrevale {

class FixedSeedRandom final : public Random {
 public:
  explicit FixedSeedRandom(uint32_t seed) : seed_(seed) {}
  // The clock reading the window seeds with is set aside for the fixed seed.
  void Randomize(uint32_t) override { engine_.Randomize(seed_); }
  float Rnd() override { return engine_.Rnd(); }

 private:
  uint32_t seed_;
  SystemRandom engine_;
};

}  // namespace ombrevale
