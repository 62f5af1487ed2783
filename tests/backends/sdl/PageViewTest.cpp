// What the window shows: the menu strip, the page's chrome, the canvas over it and the label.

#include <gtest/gtest.h>

#include "tests/backends/sdl/SdlDesktopKit.h"

namespace ombrevale {
namespace {

TEST_F(SdlDesktopTest, PresentsMenuStripChromeCanvasAndLabel) {
  const Pixel blue = Rgb(0, 0, 64), red = Rgb(255, 0, 0), pink = Rgb(255, 128, 128);
  Surface chrome(404, 304, blue);
  Surface canvas(400, 300, 0);
  canvas.Set(10, 20, red);
  Label label;
  label.Caption = "2028/12/07 16:38:40";
  label.ForeColor = pink;
  label.Face = {"ＭＳ Ｐゴシック", 12, true};
  Scene scene{&chrome, 1, &canvas, 2, 2, {LabelView{&label, 226, 282, 169, 25}}};
  desktop_.SetMenu({"Version"});
  desktop_.Present(scene);

  EXPECT_EQ(ScreenAt(300, 5), Rgb(212, 208, 200)) << "the menu strip";
  EXPECT_EQ(ScreenAt(2 + 10, 20 + 2 + 20), red) << "the canvas below the strip, inside the frame";
  EXPECT_EQ(ScreenAt(2 + 11, 20 + 2 + 20), 0u);
  EXPECT_EQ(ScreenAt(1, 20 + 1), blue) << "the chrome around the canvas";
  EXPECT_EQ(ScreenAt(403, 323), blue);
  // The clock stays on one line, and its last digit stays whole: the stand-in face is 171 pixels
  // wide here, two more than the box, and the text runs on past the box up to the page's edge.
  EXPECT_TRUE(PinkIn(226, 20 + 282, 40, 20)) << "the date";
  EXPECT_TRUE(PinkIn(226 + 140, 20 + 282, 29, 20)) << "the time, on the same line";
  EXPECT_TRUE(PinkIn(226 + 169, 20 + 282, 2, 20)) << "the last digit, past the box";
  EXPECT_FALSE(PinkIn(226 + 172, 20 + 282, 404 - 226 - 172, 22)) << "past the text";

  // The chrome is uploaded again only when its revision says it changed.
  chrome.Fill(Rgb(0, 64, 0));
  desktop_.Present(scene);
  EXPECT_EQ(ScreenAt(1, 20 + 1), blue);
  scene.chromeRevision = 2;
  desktop_.Present(scene);
  EXPECT_EQ(ScreenAt(1, 20 + 1), Rgb(0, 64, 0));

  // Where the canvas no longer lies, the chrome shows again.
  scene.canvasX = 100;
  desktop_.Present(scene);
  EXPECT_EQ(ScreenAt(2 + 10, 20 + 2 + 20), Rgb(0, 64, 0));
  EXPECT_EQ(ScreenAt(100 + 10, 20 + 2 + 20), red);
  scene.canvas = nullptr;
  desktop_.Present(scene);
  EXPECT_EQ(ScreenAt(100 + 10, 20 + 2 + 20), Rgb(0, 64, 0));

  // A changed caption is drawn anew; an empty one draws nothing.
  label.Caption = "";
  desktop_.Present(scene);
  EXPECT_FALSE(PinkIn(226, 20 + 282, 169, 25));
  label.Caption = "ver 1.0\r\nBurst";  // "\r\n" breaks the line
  desktop_.Present(scene);
  EXPECT_TRUE(PinkIn(226, 20 + 282 + 16, 40, 8)) << "the second line";
}

}  // namespace
}  // namespace ombrevale
