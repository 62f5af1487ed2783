#include <gtest/gtest.h>

#include "platform/calendar/FixedStart.h"

namespace ombrevale {
namespace {

std::string After(const char* start, long long ms) {
  return FormatDateTime(AfterMilliseconds(*ReadDateTime(start), ms));
}

TEST(FixedStart, CountsOnAcrossDaysMonthsYearsAndLeapDays) {
  EXPECT_EQ(After("2026/12/07 6:38:00", 0), "2026/12/07 6:38:00");
  EXPECT_EQ(After("2026/12/07 6:38:00", 1999), "2026/12/07 6:38:01") << "whole seconds count";
  EXPECT_EQ(After("2026/12/31 23:59:59", 1000), "2027/01/01 0:00:00");
  EXPECT_EQ(After("2028/02/28 23:59:59", 1000), "2028/02/29 0:00:00") << "a leap year";
  EXPECT_EQ(After("2100/02/28 23:59:59", 1000), "2100/03/01 0:00:00") << "a century is no leap";
  EXPECT_EQ(After("2000/02/28 23:59:59", 1000), "2000/02/29 0:00:00") << "every 400th year is";
  EXPECT_EQ(After("1969/12/31 23:59:59", 1000), "1970/01/01 0:00:00");
  EXPECT_EQ(After("2026/12/07 6:38:00", 24LL * 3600 * 1000 * 366), "2027/12/08 6:38:00");
  // The renderer's 4.3 million frames of a long run: 24 hours on.
  EXPECT_EQ(After("2026/12/07 6:38:40", 86'400'000), "2026/12/08 6:38:40");
}

TEST(FixedStart, ReadsOnlyTheClocksFormWithFieldsInRange) {
  ASSERT_TRUE(ReadDateTime("2026/12/07 06:38:00"));
  EXPECT_EQ(FormatDateTime(*ReadDateTime("2026/12/07 06:38:00")), "2026/12/07 6:38:00");
  for (const char* bad :
       {"", "2026/12/07", "2026-12-07 6:38:00", "2026/13/07 6:38:00", "2026/12/07 24:00:00",
        "2026/12/07 6:60:00", "2026/12/07 6:38:00x", "0/12/07 6:38:00"})
    EXPECT_FALSE(ReadDateTime(bad)) << bad;
}

}  // namespace
}  // namespace ombrevale
