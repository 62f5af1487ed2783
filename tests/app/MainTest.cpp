#include <gtest/gtest.h>

#include "app/World.h"
#include "platform/PageLayout.h"

namespace ombrevale {
namespace {

using world::World;

TEST(Main, RunsTheTitlePageAtFiftyFramesASecondUntilTheWindowCloses) {
  World w;
  w.desktop.Close(2000);
  EXPECT_EQ(Main(w.app), 0);
  EXPECT_TRUE(w.desktop.shown);
  // Frames at 1000, 1020, ..., 1980: the close at 2000 comes first in that pass.
  EXPECT_EQ(w.desktop.frames, 50);
  EXPECT_EQ(w.desktop.presentTimes.front(), 1000u);
  EXPECT_EQ(w.desktop.presentTimes.back(), 1980u);
  // The typewriter found no message at its first firing and switched its slot off.
  EXPECT_EQ(w.app.time.TimerInterval[1], 0);
  EXPECT_EQ(w.app.time.TimerInterval[0], 200);
  EXPECT_EQ(w.app.time.TimerInterval[2], 20);
  // The loop slept until each slot was due, never spinning: one wait per pass.
  EXPECT_LE(w.desktop.waits.size(), 60u);
  // Closing stopped all sound after the load had.
  const std::vector<std::string> stopAll = {"stop m1", "close m1", "sndPlaySoundA(\"\", 3)"};
  std::vector<std::string> twice = stopAll;
  twice.insert(twice.end(), stopAll.begin(), stopAll.end());
  EXPECT_EQ(w.media.Log(), twice);
}

TEST(Main, AnEmptyFrameDrawsTheJitteredBackgroundAndTheRollsAndShowsTheCanvas) {
  World w;
  w.desktop.Close(1001);
  w.app.vision.LayerState = {kLayerNothing, kLayerNothing};
  w.random.script = {0.25f, 0.75f, 0.5f, 0.5f, 0.5f};  // offsets (0, 2), then three rolls that miss
  w.app.form.PicBlack.Image = Surface(kCanvasWidth, kCanvasHeight, 0);
  w.app.form.PicTitle1.Image.Fill(0x00FFFFFF);
  Main(w.app);
  EXPECT_EQ(w.random.draws, 5);
  const Surface& canvas = w.app.form.PicTitle1.Image;
  EXPECT_EQ(canvas.At(0, 1), 0x00FFFFFFu);  // rows 0..1 uncovered
  EXPECT_EQ(canvas.At(0, 2), 0u);
  EXPECT_EQ(w.desktop.lastFrame.At(2, 2 + 1), 0x00FFFFFFu);
}

TEST(Main, TheModalBoxHoldsTheLoopAndTheInputItGotIsDropped) {
  World w;
  w.desktop.boxOpenFor = 3000;
  w.desktop.Menu(1100, 0);
  w.desktop.Key(1200, 88);  // typed into the window while the box is open
  w.desktop.Close(5000);
  Main(w.app);
  // No frame while the box was open (1100 .. 4100).
  for (uint32_t t : w.desktop.presentTimes) EXPECT_TRUE(t <= 1100 || t >= 4100) << t;
  EXPECT_TRUE(w.desktop.events.empty());
  // Frames at 1000 .. 1080; the click came first in the pass at 1100. After the box the vision
  // goes on at once, then every 20 ms, without catching up.
  EXPECT_EQ(w.desktop.presentTimes[4], 1080u);
  EXPECT_EQ(w.desktop.presentTimes[5], 4100u);
  EXPECT_EQ(w.desktop.presentTimes[6], 4120u);
}

TEST(Main, KeysReachTheTypewriterWhileAMessageIsPending) {
  World w;
  w.desktop.Key(1500, 65);
  w.desktop.Key(1700, 88);
  w.desktop.Close(2500);
  Label label;
  w.app.message.StartMessage(label, "ab\r\ncd\r\nef");
  Main(w.app);
  // Ticks at 1000 (a), 1200 (b), 1400 (line break), 1600 (c); the A key changed nothing;
  // X at 1700 showed the rest of the page; the 1800 tick then found the message done.
  EXPECT_EQ(label.Caption, "ab\r\ncd\r\nef");
  EXPECT_EQ(w.app.time.TimerInterval[1], 0);
}

TEST(Main, PassByPassAsADesktopThatCallsTheProgramDrawsTheSameFramesAsTheLoop) {
  // The browser calls one pass at a time, when the next slot is due, however late.
  World looped, stepped;
  looped.desktop.Close(1500);
  Main(looped.app);

  StartMain(stepped.app);
  EXPECT_TRUE(stepped.desktop.shown);
  stepped.desktop.Close(1500);
  int passes = 0;
  while (StepMain(stepped.app)) {
    ++passes;
    stepped.clock.now = *NextDue(stepped.app.time);
  }
  EXPECT_EQ(stepped.desktop.presentTimes, looped.desktop.presentTimes);
  EXPECT_EQ(stepped.app.form.PicTitle1.Image, looped.app.form.PicTitle1.Image);
  EXPECT_EQ(passes, 25);  // 1000 .. 1480: the close at 1500 comes first in that pass
  // Once closed, a pass fires nothing and says so again.
  EXPECT_FALSE(StepMain(stepped.app));
  EXPECT_EQ(stepped.desktop.frames, 25);
}

TEST(Main, APassCalledLateFiresEachDueSlotOnceWithoutCatchingUp) {
  World w;
  StartMain(w.app);
  ASSERT_TRUE(StepMain(w.app));  // 1000: the first frame
  w.clock.now = 3000;            // a hidden page's slowed timer: two seconds late
  ASSERT_TRUE(StepMain(w.app));
  EXPECT_EQ(w.desktop.presentTimes, (std::vector<uint32_t>{1000, 3000}));
  EXPECT_EQ(NextDue(w.app.time), 3020u);
}

}  // namespace
}  // namespace ombrevale
