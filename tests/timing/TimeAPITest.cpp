#include <gtest/gtest.h>

#include <vector>

#include "timing/TimeAPI.h"

namespace ombrevale {
namespace {

struct Loop {
  TimeAPI time;
  std::vector<int> fired;
  Loop() {
    time.TimerInterval[0] = 200;
    time.TimerInterval[1] = 200;
    time.TimerInterval[2] = 20;
  }
  std::vector<int> Pass(uint32_t now) {
    fired.clear();
    FireDueSlots(time, now, [this](int j) { fired.push_back(j); });
    return fired;
  }
};

using Slots = std::vector<int>;

TEST(TimeAPI, FirstPassFiresEverySlotThatIsOnInSlotOrder) {
  Loop loop;
  EXPECT_EQ(loop.Pass(5000), (Slots{0, 1, 2}));
  EXPECT_EQ(loop.time.TimerLast[0], 5000);
  EXPECT_EQ(loop.time.TimerLast[2], 5000);
  // A machine up for less than an interval: only the slots whose interval has passed.
  Loop early;
  EXPECT_EQ(early.Pass(150), (Slots{2}));
  EXPECT_EQ(early.Pass(200), (Slots{0, 1, 2}));
}

TEST(TimeAPI, SlotsFireAtTheirIntervalsAndNeverCatchUp) {
  Loop loop;
  loop.Pass(1000);
  EXPECT_EQ(loop.Pass(1019), Slots{});
  EXPECT_EQ(loop.Pass(1020), Slots{2});
  // A pass that took 50 ms: the 20 ms slot fires once, and is next due 20 ms after this pass.
  EXPECT_EQ(loop.Pass(1070), Slots{2});
  EXPECT_EQ(loop.Pass(1071), Slots{});
  EXPECT_EQ(loop.Pass(1089), Slots{});
  EXPECT_EQ(loop.Pass(1090), Slots{2});
  EXPECT_EQ(loop.Pass(1200), (Slots{0, 1, 2}));
}

TEST(TimeAPI, SlotsSwitchedOffNeverFireAndSwitchedOnFireWhenTheirIntervalHasPassed) {
  Loop loop;
  loop.time.TimerInterval[5] = -7;
  loop.time.TimerLast[5] = -100000;
  loop.time.TimerInterval[9] = 0;
  EXPECT_EQ(loop.Pass(1000), (Slots{0, 1, 2}));
  loop.time.TimerInterval[1] = 0;
  EXPECT_EQ(loop.Pass(1200), (Slots{0, 2}));
  EXPECT_EQ(loop.Pass(1400), (Slots{0, 2}));
  // Back on after longer than its interval: fires in the next pass, without touching TimerLast.
  loop.time.TimerInterval[1] = 200;
  EXPECT_EQ(loop.time.TimerLast[1], 1000);
  EXPECT_EQ(loop.Pass(1401), Slots{1});
}

TEST(TimeAPI, AHandlerChangesLaterSlotsInTheSamePassAndItsOwnFromTheNext) {
  Loop loop;
  loop.time.TimerInterval[4] = 0;
  loop.fired.clear();
  FireDueSlots(loop.time, 1000, [&](int j) {
    loop.fired.push_back(j);
    if (j == 1) {
      loop.time.TimerInterval[1] = 0;  // the typewriter switching itself off
      loop.time.TimerInterval[4] = 50;
      loop.time.TimerInterval[0] = 0;  // an earlier slot: it has fired already
    }
  });
  EXPECT_EQ(loop.fired, (Slots{0, 1, 2, 4}));
  EXPECT_EQ(loop.Pass(1200), (Slots{2, 4}));
}

TEST(TimeAPI, KeepsItsRhythmAcrossTheSignAndTheWrapOfTheClock) {
  for (uint32_t edge : {0x80000000u, 0u}) {
    Loop loop;
    uint32_t now = edge - 1000;
    loop.Pass(now);
    std::vector<uint32_t> frames;
    for (uint32_t step = 0; step < 2000; ++step) {
      ++now;
      for (int j : loop.Pass(now))
        if (j == 2) frames.push_back(now);
    }
    ASSERT_EQ(frames.size(), 100u) << "edge " << edge;
    for (size_t i = 1; i < frames.size(); ++i) EXPECT_EQ(frames[i] - frames[i - 1], 20u);
  }
  // The first pass long after boot, when the clock reads as a negative signed number.
  Loop late;
  EXPECT_EQ(late.Pass(0x90000000u), (Slots{0, 1, 2}));
}

TEST(TimeAPI, NextDueIsTheNearestSlotOrNothing) {
  Loop loop;
  loop.Pass(1000);
  EXPECT_EQ(NextDue(loop.time), 1020u);
  loop.time.TimerNow = 1013;
  EXPECT_EQ(NextDue(loop.time), 1020u);
  loop.time.TimerNow = 1030;  // overdue: at once
  EXPECT_EQ(NextDue(loop.time), 1030u);
  loop.Pass(0xFFFFFFF0u);
  EXPECT_EQ(NextDue(loop.time), 4u);  // across the wrap
  for (auto& i : loop.time.TimerInterval) i = 0;
  EXPECT_EQ(NextDue(loop.time), std::nullopt);
}

}  // namespace
}  // namespace ombrevale
