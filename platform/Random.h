#pragma once

#include <cstdint>
#include <random>

namespace ombrevale {

// The one shared random source: uniform single-precision values in [0, 1). Every draw goes
// through it, in the order the drawing code documents, so a test can script the values.
class Random {
 public:
  virtual ~Random() = default;
  // Seeds the generator from the clock reading given; done once, at window load.
  virtual void Randomize(uint32_t clockSeed) = 0;
  // The seed the generator takes for that clock reading: the reading itself, unless the source
  // fixes a seed of its own. A replay keeps it, and plays on SystemRandom seeded with it.
  virtual uint32_t SeedFor(uint32_t clockSeed) const { return clockSeed; }
  virtual float Rnd() = 0;
};

// Mersenne twister; the top 24 bits of a draw make the float, so 1.0 never comes out.
class SystemRandom final : public Random {
 public:
  void Randomize(uint32_t clockSeed) override;
  float Rnd() override;

 private:
  std::mt19937 engine_;
};

// The one random source seeded with a seed of its own instead of the clock reading the window
// seeds it with, so that a run can be repeated: the renderer's, the long run's, and a web page's
// whose address fixes a seed (it then draws the renderer's frames for that seed).
class SeededRandom final : public Random {
 public:
  explicit SeededRandom(uint32_t seed) : seed_(seed) {}
  void Randomize(uint32_t) override { engine_.Randomize(seed_); }
  uint32_t SeedFor(uint32_t) const override { return seed_; }
  float Rnd() override { return engine_.Rnd(); }

 private:
  uint32_t seed_;
  SystemRandom engine_;
};

// The two conversions of a random value to an integer. They are never interchangeable: each
// drawing step says which one it uses.
int FloorInt(float v);       // towards minus infinity: 1.9 -> 1, -0.5 -> -1
int RoundHalfEven(float v);  // to nearest, ties to even: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2

}  // namespace ombrevale
