#include "backends/win32/PagePicture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "backends/win32/GdiColour.h"
#include "platform/PageLayout.h"

namespace ombrevale {
namespace {

constexpr Pixel kLabelColour = Rgb(255, 128, 128);
constexpr Rect kLabelBox = {226, 282, 169, 25};  // the clock's box, in the page's pixels

// A scene whose every canvas pixel differs from its neighbours, so that a block out of place or of
// the wrong size shows; the clock's label over it.
struct TestScene {
  Surface chrome{kPageWidth, kPageHeight, Rgb(255, 192, 192)};
  Surface canvas{kCanvasWidth, kCanvasHeight};
  Label label;
  Prompt prompt{"Start the vision", "Return or Space starts it too"};
  Scene scene;

  TestScene() {
    for (int y = 0; y < kCanvasHeight; ++y)
      for (int x = 0; x < kCanvasWidth; ++x)
        canvas.Set(x, y, Rgb(x & 0xFF, y & 0xFF, 64 + x / 256));
    label.Caption = "2028/12/07 6:38:40";
    label.ForeColor = kLabelColour;
    label.Face = Font{"ＭＳ Ｐゴシック", 12, true};
    scene.chrome = &chrome;
    scene.chromeRevision = 1;
    scene.canvas = &canvas;
    scene.canvasX = scene.canvasY = kPageFrame;
    scene.labels.push_back({&label, kLabelBox});
  }
};

// The rows of the shown page that hold the label's colour: the height of its text.
int TextHeight(const PagePicture& page) {
  const int f = page.Factor();
  int top = kPageHeight * f, bottom = -1;
  for (int y = 0; y < kPageHeight * f; ++y)
    for (int x = 0; x < kPageWidth * f; ++x)
      if (page.At(x, y) == kLabelColour) top = std::min(top, y), bottom = std::max(bottom, y);
  return bottom - top + 1;
}

TEST(PagePicture, TheCanvasShowsInWholeBlocksAndTheLabelIsDrawnAtTheSizeItIsShown) {
  TestScene t;
  for (int f : {1, 2, 3}) {
    PagePicture page;
    page.SetFactor(f);
    page.Compose(t.scene);
    ASSERT_EQ(page.Factor(), f);
    EXPECT_EQ(page.At(f * kPageWidth - 1, 0), Rgb(255, 192, 192)) << "the chrome, " << f;
    // Every canvas pixel outside the label's box is an f x f block of its own colour.
    int wrong = 0;
    for (int y = 0; y < kCanvasHeight; ++y)
      for (int x = 0; x < kCanvasWidth; ++x) {
        // The text may run on from its box to the page's right edge.
        if (y + kPageFrame >= kLabelBox.y && x + kPageFrame >= kLabelBox.x) continue;
        for (int dy = 0; dy < f; ++dy)
          for (int dx = 0; dx < f; ++dx)
            wrong +=
                page.At((x + kPageFrame) * f + dx, (y + kPageFrame) * f + dy) != t.canvas.At(x, y);
      }
    EXPECT_EQ(wrong, 0) << "canvas pixels not shown as " << f << " x " << f << " blocks";

    // The text is in the label's box at the shown size (running on to the page's right edge),
    // as tall as the factor makes it, and drawn at that size: not every block of it is whole.
    int outside = 0, split = 0;
    for (int y = 0; y < kPageHeight * f; ++y)
      for (int x = 0; x < kPageWidth * f; ++x) {
        if (page.At(x, y) != kLabelColour) continue;
        outside +=
            y < kLabelBox.y * f || y >= (kLabelBox.y + kLabelBox.h) * f || x < kLabelBox.x * f;
        split += page.At(x - x % f, y - y % f) != kLabelColour;
      }
    EXPECT_EQ(outside, 0) << f;
    // Digits of a 12-point face at f times 96 dots per inch (16 f pixels) stand most of that high.
    const int height = TextHeight(page);
    EXPECT_GE(height, 16 * f * 6 / 10) << f;
    EXPECT_LE(height, 16 * f) << f;
    if (f > 1) {
      EXPECT_GT(split, 0) << "the text at " << f << "x is a small one scaled up";
    }
  }
}

TEST(PagePicture, AnotherFactorDrawsTheSameSceneAgainAtIt) {
  TestScene t;
  t.scene.prompt = &t.prompt;
  PagePicture direct, later;
  direct.SetFactor(2);
  direct.Compose(t.scene);
  later.Compose(t.scene);
  later.SetFactor(2);
  int differ = 0;
  for (int y = 0; y < 2 * kPageHeight; ++y)
    for (int x = 0; x < 2 * kPageWidth; ++x) differ += direct.At(x, y) != later.At(x, y);
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(direct.PromptButtonArea(), later.PromptButtonArea());
}

TEST(PagePicture, ThePromptsButtonIsCentredOnTheCanvasInTheSystemsLookPressesAndGoes) {
  TestScene t;
  t.scene.prompt = &t.prompt;
  PagePicture page;
  page.SetFactor(2);
  page.Compose(t.scene);
  const Rect button = page.PromptButtonArea();
  ASSERT_FALSE(button.Empty());
  // Centred on the canvas (its centre at 2 x 202, 2 x 152), at least a dialog button's size.
  EXPECT_NEAR(button.x + button.w / 2, 2 * 202, 2);
  EXPECT_NEAR(button.y + button.h / 2, 2 * 152, 2);
  EXPECT_GE(button.w, 2 * 75);
  EXPECT_GE(button.h, 2 * 23);
  const Pixel face = FromColorRef(GetSysColor(COLOR_BTNFACE));
  const Pixel text = FromColorRef(GetSysColor(COLOR_BTNTEXT));
  const Pixel lit = FromColorRef(GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(page.At(button.x + 5, button.y + button.h / 2), face);
  // Its raised edge is as thick as one of the page's pixels: 2 x 2 at the corner.
  for (int d : {0, 1}) EXPECT_EQ(page.At(button.x + d, button.y + 1 - d), lit);
  int caption = 0, note = 0;
  for (int y = button.y + 4; y < button.y + button.h - 4; ++y)  // inside its edges
    for (int x = button.x + 4; x < button.x + button.w - 4; ++x) caption += page.At(x, y) == text;
  for (int y = button.y + button.h; y < button.y + button.h + 60; ++y)
    for (int x = 0; x < 2 * kPageWidth; ++x) note += page.At(x, y) == Rgb(255, 255, 255);
  EXPECT_GT(caption, 50);
  EXPECT_GT(note, 50) << "the line under the button";

  // Pressed, the edge is sunk; let go, raised again; a scene without a prompt shows none.
  EXPECT_TRUE(page.PressPrompt(true));
  EXPECT_NE(page.At(button.x, button.y), lit);
  EXPECT_FALSE(page.PressPrompt(true));
  EXPECT_TRUE(page.PressPrompt(false));
  EXPECT_EQ(page.At(button.x, button.y), lit);
  t.scene.prompt = nullptr;
  page.Compose(t.scene);
  EXPECT_TRUE(page.PromptButtonArea().Empty());
  EXPECT_FALSE(page.PressPrompt(true));
  EXPECT_EQ(
      page.At(button.x + 5, button.y + button.h / 2),
      t.canvas.At((button.x + 5) / 2 - kPageFrame, (button.y + button.h / 2) / 2 - kPageFrame));
}

}  // namespace
}  // namespace ombrevale
