// The window's own version box: closed by OK alone, drawn centred on the page in the menu's look.

#include <gtest/gtest.h>

#include "backends/sdl/boxes/ModalBox.h"
#include "backends/sdl/layers/ShownLayer.h"
#include "tests/backends/sdl/SdlDesktopKit.h"

namespace ombrevale {
namespace {

TEST_F(SdlDesktopTest, TheBoxClosesOnOkAloneAndKeepsTheInputMeantForThePage) {
  desktop_.SetMenu({"Version"});
  Recorder events;
  // Return, Space, Escape and Enter each press OK; the keys and clicks before them are the box's.
  for (SDL_Keycode ok : {SDLK_RETURN, SDLK_SPACE, SDLK_ESCAPE, SDLK_KP_ENTER}) {
    PushKey(SDLK_x, KMOD_NONE);
    PushMouse(SDL_MOUSEBUTTONDOWN, 20, 10);  // on "Version": no second box
    PushMouse(SDL_MOUSEBUTTONUP, 20, 10);
    PushKey(ok, KMOD_NONE);
    PushKey(SDLK_a, KMOD_NONE);  // after the box: the page's
    desktop_.MessageBox("Ombrevale", "ver 1.0\r\nmade by\r\n2002/5/28");
    desktop_.PumpEvents(events);
    EXPECT_EQ(events.keys, (std::vector<std::pair<int, int>>{{65, 0}})) << "OK key " << ok;
    EXPECT_TRUE(events.clicks.empty());
    events.keys.clear();
  }

  // A click is a press and a release on the button; a press that leaves it does nothing.
  Fonts fonts;
  ModalBox layout(fonts);
  layout.Open("Ombrevale", "ver 1.0\r\nmade by\r\n2002/5/28");
  const Rect ok = layout.Button();
  PushMouse(SDL_MOUSEBUTTONDOWN, ok.x + 5, ok.y + 5);
  PushMouse(SDL_MOUSEBUTTONUP, ok.x - 5, ok.y + 5);
  PushMouse(SDL_MOUSEBUTTONDOWN, ok.x + 5, ok.y + 5);
  PushMouse(SDL_MOUSEBUTTONUP, ok.x + 6, ok.y + 6);
  PushKey(SDLK_b, KMOD_NONE);
  desktop_.MessageBox("Ombrevale", "ver 1.0\r\nmade by\r\n2002/5/28");
  desktop_.PumpEvents(events);
  EXPECT_EQ(events.keys, (std::vector<std::pair<int, int>>{{66, 0}}));
  EXPECT_EQ(events.unloads, 0);
}

// The box's layer drawn over a black client area shown at `factor`.
Surface ShownBox(ModalBox& box, int factor) {
  std::vector<ShownLayer> layers;
  box.AddLayers(factor, layers);
  EXPECT_EQ(layers.size(), 1u);
  SurfacePtr shown(SDL_CreateRGBSurfaceWithFormat(0, kClientWidth * factor, kClientHeight * factor,
                                                  32, SDL_PIXELFORMAT_XRGB8888));
  DrawLayers(layers, shown.get(), 0, 0);
  Surface copy(shown->w, shown->h);
  for (int y = 0; y < shown->h; ++y)
    for (int x = 0; x < shown->w; ++x)
      copy.Set(x, y,
               reinterpret_cast<const Pixel*>(static_cast<const uint8_t*>(shown->pixels) +
                                              static_cast<size_t>(y) * shown->pitch)[x] &
                   0xFFFFFF);
  return copy;
}

// Rows of text: runs of rows holding dark pixels between x0 and x1, from y0 to y1.
int TextRows(const Surface& shown, int x0, int x1, int y0, int y1) {
  int rows = 0;
  bool inRow = false;
  for (int y = y0; y < y1; ++y) {
    bool dark = false;
    for (int x = x0; x < x1; ++x) dark |= (shown.At(x, y) & 0xFF) < 100;
    if (dark && !inRow) ++rows;
    inRow = dark;
  }
  return rows;
}

TEST_F(SdlDesktopTest, TheBoxIsDrawnCentredOnThePageInTheMenusLookAtEveryFactor) {
  Fonts fonts;
  ModalBox box(fonts);
  box.Open("Ombrevale", "ver 1.0\r\nmade by the Ombrevale team\r\n2002/5/28");
  const Rect b = box.Bounds();
  EXPECT_LE(std::abs((b.x + b.w / 2) - kPageWidth / 2), 1);
  EXPECT_LE(std::abs((b.y + b.h / 2) - (kMenuHeight + kPageHeight / 2)), 1);
  EXPECT_EQ(box.Button().w, 75);
  EXPECT_LE(std::abs((box.Button().x + 37) - kPageWidth / 2), 1);

  for (int f : {1, 2, 3}) {
    const Surface shown = ShownBox(box, f);
    EXPECT_EQ(shown.At((b.x + b.w / 2) * f, (b.y + 5) * f), Rgb(0, 0, 128))
        << "the title bar, " << f;
    EXPECT_EQ(shown.At((b.x + 3) * f, (b.y + b.h - 4) * f), Rgb(212, 208, 200)) << "the face";
    // The edges are whole blocks of the factor: the outer dark one is f pixels wide.
    for (int i = 0; i < f; ++i)
      EXPECT_EQ(shown.At((b.x + b.w) * f - 1 - i, (b.y + b.h / 2) * f), Rgb(64, 64, 64)) << f;
    EXPECT_EQ(shown.At((b.x + b.w) * f - 1 - f, (b.y + b.h / 2) * f), Rgb(128, 128, 128)) << f;
    // Three lines of text on three separate rows of the face, drawn at the shown size: about f
    // times as tall as at the natural size, none of them in the title bar.
    EXPECT_EQ(TextRows(shown, (b.x + 4) * f, (b.x + b.w - 4) * f, (b.y + 22) * f,
                       (box.Button().y - 2) * f),
              3)
        << f;
    // The first line: from its first row with dark pixels to the next row without.
    const auto darkRow = [&](int y) {
      for (int x = (b.x + 4) * f; x < (b.x + b.w - 4) * f; ++x)
        if ((shown.At(x, y) & 0xFF) < 100) return true;
      return false;
    };
    int firstRow = (b.y + 22) * f;
    while (firstRow < box.Button().y * f && !darkRow(firstRow)) ++firstRow;
    int lastRow = firstRow;
    while (darkRow(lastRow + 1)) ++lastRow;
    EXPECT_GE(lastRow - firstRow + 1, 7 * f) << "the first line's height at " << f;
  }
}

}  // namespace
}  // namespace ombrevale
