// The millisecond clock and the date-time text.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "platform/Clock.h"

namespace ombrevale {
namespace {

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

}  // namespace
}  // namespace ombrevale
