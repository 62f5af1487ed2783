// The calm start on the headless world: the first frame stands still with its clock and the
// button, the player starts the vision with the button, Return or Space, and a default run never
// waits.

#include <gtest/gtest.h>

#include "app/World.h"

namespace ombrevale {
namespace {

using world::World;

// The same seed and clock for every world, so that their frames can be compared.
void Prepare(World& w) {
  w.clock.dateTime = "2026/12/07 6:38:05";
}

TEST(CalmStart, TheFirstFrameStandsStillWithItsClockAndTheButtonUntilThePlayerStartsIt) {
  World w;
  Prepare(w);
  w.app.form.AskCalmStart();
  w.desktop.Key(3000, 65);  // an ordinary key reaches the page, and does not start the vision
  w.desktop.Key(3500, 32);  // Space does
  w.desktop.Close(4000);
  EXPECT_EQ(Main(w.app), 0);

  // The first frame at 1000, then the same frame once more with its clock and the button; nothing
  // until Space at 3500; then a frame every 20 ms, the first in the very pass that took the key.
  ASSERT_GE(w.desktop.presentTimes.size(), 3u);
  EXPECT_EQ(w.desktop.presentTimes[0], 1000u);
  EXPECT_EQ(w.desktop.presentTimes[1], 1000u);
  EXPECT_EQ(w.desktop.presentTimes[2], 3500u);
  EXPECT_EQ(w.desktop.frames, 2 + 25);  // 3500, 3520, ..., 3980
  EXPECT_FALSE(w.desktop.lastPrompt);
  EXPECT_FALSE(w.app.form.VisionWaiting());
  // The music's slot went on meanwhile: only the vision stood still.
  EXPECT_EQ(w.app.time.TimerInterval[0], 200);
  EXPECT_EQ(w.app.time.TimerInterval[2], 20);
}

TEST(CalmStart, TheButtonAndReturnStartItAndTheStillFrameIsTheDefaultRunsFirst) {
  World plain;
  Prepare(plain);
  plain.desktop.Close(1001);
  Main(plain.app);

  for (const bool byButton : {true, false}) {
    World w;
    Prepare(w);
    w.app.form.AskCalmStart();
    if (byButton)
      w.desktop.PressPrompt(2000);
    else
      w.desktop.Key(2000, 13);
    w.desktop.Close(2001);
    Main(w.app);
    // Held: the still frame shows the button, and the clock the first pass wrote.
    EXPECT_EQ(w.desktop.presentTimes, (std::vector<uint32_t>{1000, 1000, 2000})) << byButton;
    // The frame that waits is the one a default run draws first.
    EXPECT_EQ(w.desktop.frames, 3);
  }

  World held;
  Prepare(held);
  held.app.form.AskCalmStart();
  held.desktop.Close(1500);
  Main(held.app);
  ASSERT_TRUE(held.desktop.lastPrompt);
  EXPECT_EQ(held.desktop.lastPrompt->caption, "Start the vision");
  EXPECT_EQ(held.desktop.lastPrompt->note, "Return or Space starts it too");
  EXPECT_EQ(held.desktop.lastLabels, std::vector<std::string>{"2028/12/07 6:38:05"});
  EXPECT_TRUE(held.desktop.lastFrame == plain.desktop.lastFrame);
  // A default run shows no button.
  EXPECT_FALSE(plain.desktop.lastPrompt);
}

TEST(CalmStart, AStartAfterAWaitOfWeeksIsDueAtOnceAndAStartNotAskedForDoesNothing) {
  TimeAPI time;
  time.TimerInterval = {200, 200, 20};
  CalmStart calm;
  EXPECT_FALSE(calm.AfterFrame(time));  // not asked: a default run never holds
  EXPECT_FALSE(calm.Start(time));
  EXPECT_EQ(time.TimerInterval[2], 20);

  calm.Ask();
  time.TimerLast[2] = 1000;
  EXPECT_TRUE(calm.AfterFrame(time));
  EXPECT_FALSE(calm.AfterFrame(time));  // held once, at the first frame only
  EXPECT_EQ(time.TimerInterval[2], 0);
  EXPECT_FALSE(SlotDue(time, 2));
  // Fifty days on, the millisecond clock has wrapped round and reads 5 ms past the held frame:
  // counted from that frame, the slot would wait another 15 ms.
  time.TimerNow = 1005;
  EXPECT_TRUE(calm.Start(time));
  EXPECT_TRUE(SlotDue(time, 2));
  EXPECT_FALSE(calm.Start(time));
  calm.Ask();  // once started, the vision runs for the rest of the run
  EXPECT_FALSE(calm.AfterFrame(time));
}

}  // namespace
}  // namespace ombrevale
