// The vision's frames as the player sees them: each frame the window shows has passed through the
// flash limiter at the size the desktop shows it, on the vision's own time, while the vision's
// canvas stays as the vision drew it; with the limit off, the frames are shown as drawn.

#include "app/ShownCanvas.h"

#include <gtest/gtest.h>

#include "app/World.h"
#include "platform/raster/BitBlt.h"

namespace ombrevale {
namespace {

using world::World;

// Frame `i` of a patch that flickers at 12.5 Hz over black: 100 x 75 pixels, a sixteenth of the
// canvas. Seen at its natural size it covers less than a quarter of the eye's central field; four
// times as large it covers all of it.
Surface Flicker(int i) {
  Surface frame(kCanvasWidth, kCanvasHeight, 0);
  if (i % 4 < 2) frame.FillRect({150, 110, 100, 75}, Rgb(255, 255, 255));
  return frame;
}

// The canvas as the desktop was last handed it.
Surface ShownCanvasOf(const HeadlessDesktop& desktop) {
  Surface canvas(kCanvasWidth, kCanvasHeight);
  BitBlt(canvas, 0, 0, kCanvasWidth, kCanvasHeight, desktop.lastFrame, kPageFrame, kPageFrame,
         SRCCOPY);
  return canvas;
}

TEST(ShownCanvas, TheDesktopIsHandedTheLimitersFrameAtItsScaleAndTheVisionsCanvasStaysAsDrawn) {
  World w;
  w.app.form.Load();
  // The same limiter beside the window's, fed the same frames at the same sizes, one every 20 ms.
  FlashLimiter beside(kCanvasWidth, kCanvasHeight);
  uint64_t changed = 0;
  for (int i = 0; i < 150; ++i) {
    // Shown four times as large, then the window goes back to the natural size.
    w.desktop.shownScale = i < 100 ? 4 : 1;
    // The machine runs late now and then: the limiter counts on the vision's own time all the same.
    w.clock.now += i % 3 == 0 ? 35 : 20;
    const Surface drawn = Flicker(i);
    w.app.form.PicTitle1.Image = drawn;
    w.app.form.RefreshCanvas();

    Surface expected = drawn;
    beside.SetShownScale(w.desktop.shownScale);
    const bool limited = beside.Limit(expected, static_cast<uint32_t>(i * 20));
    changed += limited;
    ASSERT_EQ(ShownCanvasOf(w.desktop), expected) << "frame " << i;
    ASSERT_EQ(w.app.form.PicTitle1.Image, drawn) << "frame " << i;
    if (limited) {
      EXPECT_NE(ShownCanvasOf(w.desktop), drawn) << "frame " << i;
    }
  }
  EXPECT_EQ(w.app.form.Shown().Frames(), 150u);
  EXPECT_EQ(w.app.form.Shown().FramesChanged(), changed);
  EXPECT_EQ(w.desktop.lastLabels, std::vector<std::string>{"Burst"});  // the label as it was
}

TEST(ShownCanvas, WithTheLimitOffEveryFrameIsShownAsTheVisionDrewIt) {
  World w;
  w.app.form.TurnFlashLimitOff();
  w.app.form.Load();
  w.desktop.shownScale = 8;
  for (int i = 0; i < 100; ++i) {
    w.clock.now += 20;
    w.app.form.PicTitle1.Image = Flicker(i);
    w.app.form.RefreshCanvas();
    ASSERT_EQ(ShownCanvasOf(w.desktop), Flicker(i)) << "frame " << i;
  }
  EXPECT_FALSE(w.app.form.Shown().LimitOn());
  EXPECT_EQ(w.app.form.Shown().FramesChanged(), 0u);
}

}  // namespace
}  // namespace ombrevale
