// The one random source: its two conversions to integers, and the generator's draws.

#include <gtest/gtest.h>

#include "platform/Random.h"

namespace ombrevale {
namespace {

TEST(RandomHelpers, FloorAndRoundHalfEvenAreDifferentConversions) {
  EXPECT_EQ(FloorInt(0.0f), 0);
  EXPECT_EQ(FloorInt(1.9999f), 1);
  EXPECT_EQ(FloorInt(-0.5f), -1);
  EXPECT_EQ(RoundHalfEven(0.5f), 0);
  EXPECT_EQ(RoundHalfEven(1.5f), 2);
  EXPECT_EQ(RoundHalfEven(2.5f), 2);
  EXPECT_EQ(RoundHalfEven(0.25f * 2), 0);  // a jitter draw of exactly 0.25 gives offset 0
  EXPECT_EQ(RoundHalfEven(0.75f * 2), 2);  // and 0.75 gives 2
  EXPECT_EQ(RoundHalfEven(0.95f * 6), 6);  // 5.7
  EXPECT_EQ(RoundHalfEven(0.25f * 6), 2);  // 1.5 goes to the even 2
}

TEST(SystemRandom, UniformInUnitIntervalAndReproducibleFromTheSeed) {
  SystemRandom a, b;
  a.Randomize(4242);
  b.Randomize(4242);
  int buckets[10] = {};
  for (int i = 0; i < 100000; ++i) {
    const float v = a.Rnd();
    ASSERT_EQ(v, b.Rnd());
    ASSERT_GE(v, 0.0f);
    ASSERT_LT(v, 1.0f);
    ++buckets[FloorInt(v * 10)];
  }
  for (int n : buckets) EXPECT_NEAR(n, 10000, 500);
  SystemRandom c;
  c.Randomize(4243);
  a.Randomize(4242);
  EXPECT_NE(a.Rnd(), c.Rnd());
}

TEST(SeededRandom, IgnoresTheClockAndDrawsTheSameValuesForTheSameSeed) {
  SeededRandom a(7), b(7), c(8);
  a.Randomize(1000);
  b.Randomize(2000);
  c.Randomize(1000);
  const float first = a.Rnd();
  EXPECT_EQ(first, b.Rnd());
  EXPECT_NE(first, c.Rnd());
}

}  // namespace
}  // namespace ombrevale
