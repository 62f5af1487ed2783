// The title page's run on every desktop: a calm start where the player asked for it or the
// desktop's own setting wants less motion, the same run passed one step at a time on the page.

#include "app/TitleRun.h"

#include <gtest/gtest.h>

#include "app/SessionRun.h"
#include "app/World.h"

namespace ombrevale {
namespace {

// The headless backend without the system: the run builds its own.
using Desk = world::Ground;

TEST(TitleRun, ThePlayersWordOrTheDesktopsWishForLessMotionStartsItCalm) {
  const struct {
    bool asked, lessMotion, calm;
  } table[] = {
      {false, false, false},
      {true, false, true},
      {false, true, true},
      {true, true, true},
  };
  for (const auto& row : table) {
    Desk d;
    d.desktop.lessMotion = row.lessMotion;
    d.desktop.Close(1500);
    EXPECT_EQ(RunTitle(d.platform, {.calm = row.asked}), 0);
    // Calm: the first frame twice, the second with its button, then nothing until the close.
    // Else a frame every 20 ms from 1000 to the close.
    EXPECT_EQ(d.desktop.lastPrompt.has_value(), row.calm) << row.asked << row.lessMotion;
    EXPECT_EQ(d.desktop.frames, row.calm ? 2 : 25) << row.asked << row.lessMotion;
    // The desktop is asked once, and not at all when the player's word settles it.
    EXPECT_EQ(d.desktop.motionAsked, row.asked ? 0 : 1) << row.asked << row.lessMotion;
  }
}

TEST(TitleRun, ARecordedSessionStartsByTheSameRuleAndAsksTheDesktopOnce) {
  for (const bool lessMotion : {false, true}) {
    Desk d;
    d.desktop.lessMotion = lessMotion;
    d.desktop.Close(1500);
    const SessionRecording recording{"linux-x11", std::nullopt, {std::nullopt, "no folder"}};
    EXPECT_EQ(RunRecordedSession(d.platform, {}, recording, [](const std::string&) {}), 0);
    EXPECT_EQ(d.desktop.lastPrompt.has_value(), lessMotion);
    EXPECT_EQ(d.desktop.frames, lessMotion ? 2 : 25);
    EXPECT_EQ(d.desktop.motionAsked, 1) << lessMotion;
  }
}

TEST(TitleRun, ThePageRunsTheSameStartPassByPass) {
  for (const bool lessMotion : {false, true}) {
    Desk d;
    d.desktop.lessMotion = lessMotion;
    App app(d.platform);
    StartTitle(app, {});
    EXPECT_TRUE(d.desktop.shown);
    for (int pass = 0; pass < 10; ++pass) {
      ASSERT_TRUE(StepMain(app));
      d.clock.now += 20;
    }
    EXPECT_EQ(d.desktop.lastPrompt.has_value(), lessMotion);
    EXPECT_EQ(d.desktop.frames, lessMotion ? 2 : 10);
  }
}

}  // namespace
}  // namespace ombrevale
