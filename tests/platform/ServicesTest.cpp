#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>

#include "platform/Clock.h"
#include "platform/Pictures.h"
#include "platform/Random.h"
#include "platform/bitmap/BitmapHeader.h"

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

TEST(DateTimeText, YearFirstHoursWithoutLeadingZero) {
  EXPECT_EQ(FormatDateTime({2026, 12, 7, 6, 38, 40}), "2026/12/07 6:38:40");
  EXPECT_EQ(FormatDateTime({2002, 5, 28, 0, 0, 0}), "2002/05/28 0:00:00");
  EXPECT_EQ(FormatDateTime({1999, 1, 1, 23, 59, 9}), "1999/01/01 23:59:09");
}

TEST(SystemClock, CountsFromSystemStartNotFromProgramStart) {
  SystemClock clock;
  std::ifstream uptime("/proc/uptime");
  double seconds = 0;
  uptime >> seconds;
  const double ms = clock.timeGetTime();
  // The machine has been up for longer than this test; the clock agrees with it to a second
  // (modulo the 49.7-day wrap, which a test machine does not reach).
  EXPECT_NEAR(ms, std::fmod(seconds * 1000, 4294967296.0), 1000);
  const std::string text = clock.DateTimeText();
  int y, mo, d, h, mi, s;
  ASSERT_EQ(std::sscanf(text.c_str(), "%d/%d/%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s), 6) << text;
  EXPECT_GE(y, 2024);
}

// A BMP header with a 40-byte info header.
std::vector<uint8_t> Header(int32_t w, int32_t h, uint16_t bits, uint32_t compression = 0,
                            uint32_t offset = 54, uint32_t imageSize = 0) {
  std::vector<uint8_t> b(54, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(10, offset);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  b[26] = 1;
  b[28] = static_cast<uint8_t>(bits);
  put32(30, compression);
  put32(34, imageSize);
  return b;
}

TEST(CheckBitmapHeader, AcceptsWhatFitsAndRefusesBombsAndLies) {
  // 3 x 2 at 24 bits: rows of 12 bytes (9 padded to 4), 24 bytes of pixels.
  EXPECT_FALSE(CheckBitmapHeader(Header(3, 2, 24), 54 + 24));
  // Top-down: the rows are counted all the same in the size the headers claim.
  PictureSize claimed;
  EXPECT_FALSE(CheckBitmapHeader(Header(3, -2, 24), 54 + 24, &claimed));
  EXPECT_EQ(claimed.width, 3);
  EXPECT_EQ(claimed.height, 2);
  EXPECT_FALSE(CheckBitmapHeader(Header(4096, 4096, 1), 54 + 4096 * 512));
  // A header that promises more pixels than the file holds.
  EXPECT_TRUE(CheckBitmapHeader(Header(3, 2, 24), 54 + 23));
  // The bombs: a 2 KB file claiming 20000 x 20000, and one claiming 60000 x 60000.
  auto bomb = CheckBitmapHeader(Header(20000, 20000, 24), 2000);
  ASSERT_TRUE(bomb);
  EXPECT_NE(bomb->find("20000 x 20000"), std::string::npos) << *bomb;
  EXPECT_TRUE(CheckBitmapHeader(Header(60000, 60000, 32), 2000));
  EXPECT_TRUE(CheckBitmapHeader(Header(4097, 1, 24), 1u << 20));
  EXPECT_TRUE(CheckBitmapHeader(Header(1, INT32_MIN, 24), 1u << 20));
  EXPECT_TRUE(CheckBitmapHeader(Header(0, 5, 24), 1u << 20));
  EXPECT_TRUE(CheckBitmapHeader(Header(-5, 5, 24), 1u << 20));
  EXPECT_TRUE(CheckBitmapHeader(Header(4, 4, 7), 1u << 20));         // no such depth
  EXPECT_TRUE(CheckBitmapHeader(Header(4, 4, 24, 4), 1u << 20));     // an embedded JPEG
  EXPECT_TRUE(CheckBitmapHeader(Header(4, 4, 24, 0, 9), 1u << 20));  // pixels inside the header
  EXPECT_TRUE(CheckBitmapHeader(Header(4, 4, 24, 0, 4000), 100));    // pixels after the end
  EXPECT_FALSE(CheckBitmapHeader(Header(4, 4, 8, 1, 1078, 40), 1078 + 40));  // RLE8
  EXPECT_TRUE(CheckBitmapHeader(Header(4, 4, 8, 1, 1078, 4000), 1078 + 40));
  EXPECT_TRUE(CheckBitmapHeader(Header(4, -4, 8, 1, 1078, 40), 1078 + 40));  // RLE is bottom-up
  // Not a bitmap at all, or too short to tell.
  EXPECT_TRUE(CheckBitmapHeader(std::vector<uint8_t>(54, 'x'), 54));
  EXPECT_TRUE(CheckBitmapHeader(std::vector<uint8_t>{'B', 'M'}, 2));
  EXPECT_TRUE(CheckBitmapHeader({}, 0));
}

}  // namespace
}  // namespace ombrevale
