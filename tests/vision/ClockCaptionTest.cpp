#include "vision/ClockCaption.h"

#include <gtest/gtest.h>

#include "vision/VisionTestKit.h"

namespace ombrevale {
namespace {

using world::VisionWorld;

TEST(ClockCaption, TheWorkedExamples) {
  struct Case {
    const char* dateTime;
    const char* caption;
    int16_t second;
  };
  const Case cases[] = {
      {"2002/05/28 9:05:03", "2004/05/28 9:05:03", 3},
      {"2002/05/28", "2004/05/28 0:00:00", 0},  // midnight: the date alone
      {"02/05/28 23:59:59", "2004/05/28 23:59:59", 59},
      {"98/12/31 23:59:58", "2100/12/31 23:59:58", 58},
      {"2004/02/29 12:00:01", "2006/02/29 12:00:01", 1},  // the leap day is kept
      {"0/1/1 0:00:07", "2002/1/1 0:00:07", 7},
      {"9997/1/1 1:02:03", "9999/1/1 1:02:03", 3},
      {"2026/12/07", "2028/12/07 0:00:00", 0},
      {"2026/12 1:2:3", "2028/12/ 1:2:3", 3},  // missing date fields stay empty
  };
  for (const Case& c : cases) {
    const auto reading = ReadClock(c.dateTime);
    ASSERT_TRUE(reading) << c.dateTime;
    EXPECT_EQ(reading->caption, c.caption);
    EXPECT_EQ(reading->second, c.second);
  }
}

TEST(ClockCaption, ATextOutsideTheClocksFormIsNotRead) {
  for (const char* text :
       {"2002/05/28 9:05:03 PM", "2002/05/28/01 9:05:03", "2002/05/28 9:05:03:01",
        "2002/05/28 9:05", "year/05/28 9:05:03", "-2002/05/28 9:05:03", "9998/05/28 9:05:03",
        "123456789012/1/1 1:1:1", "2002/05/28 9:05:xx", "2002/05/28 9:05:99999", "", " ",
        "2002/05/28  9:05:03"}) {
    EXPECT_FALSE(ReadClock(text)) << text;
  }
}

TEST(ClockCaption, TheCaptionChangesOnceASecondAndKeepsItsTextOnAnUnreadableTime) {
  VisionWorld w;
  Label& label = w.controls.LabMain1;

  // At start a seconds value of 0 equals the initial last second: nothing is written.
  w.clock.dateTime = "2026/12/07 6:38:00";
  w.vision.UpdateClock();
  EXPECT_EQ(label.Caption, "Burst");

  w.clock.dateTime = "2026/12/07 6:38:01";
  w.vision.UpdateClock();
  EXPECT_EQ(label.Caption, "2028/12/07 6:38:01");
  EXPECT_EQ(w.vision.LastSecond, 1);

  // Frames that stall a whole minute land on the same seconds: no rewrite.
  w.clock.dateTime = "2026/12/07 6:39:01";
  w.vision.UpdateClock();
  EXPECT_EQ(label.Caption, "2028/12/07 6:38:01");

  w.clock.dateTime = "2026/12/07 6:39:02 PM";
  w.vision.UpdateClock();
  EXPECT_EQ(label.Caption, "2028/12/07 6:38:01");
  EXPECT_EQ(w.vision.LastSecond, 1);

  w.clock.dateTime = "2026/12/08";  // midnight counts as second 0
  w.vision.UpdateClock();
  EXPECT_EQ(label.Caption, "2028/12/08 0:00:00");
  EXPECT_EQ(w.vision.LastSecond, 0);
}

}  // namespace
}  // namespace ombrevale
