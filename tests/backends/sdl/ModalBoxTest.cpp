// The window's own version box: closed by OK alone, drawn centred on the page in the menu's look.

#include <gtest/gtest.h>

#include "backends/sdl/ModalBox.h"
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
  ClientFrame frame;
  Fonts fonts;
  ModalBox layout(frame, fonts);
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

TEST_F(SdlDesktopTest, TheBoxIsDrawnCentredOnThePageInTheMenusLook) {
  ClientFrame frame;
  Fonts fonts;
  ModalBox box(frame, fonts);
  box.Open("Ombrevale", "ver 1.0\r\nmade by the Ombrevale team\r\n2002/5/28");
  box.Draw();
  const Surface shown = frame.Read();
  const Rect b = box.Bounds();
  EXPECT_LE(std::abs((b.x + b.w / 2) - kPageWidth / 2), 1);
  EXPECT_LE(std::abs((b.y + b.h / 2) - (kMenuHeight + kPageHeight / 2)), 1);
  EXPECT_EQ(shown.At(b.x + b.w / 2, b.y + 5), Rgb(0, 0, 128)) << "the title bar";
  EXPECT_EQ(shown.At(b.x + 3, b.y + b.h - 4), Rgb(212, 208, 200)) << "the face";
  // Three lines of text: dark pixels on three separate rows of the face, none at the title.
  int textRows = 0;
  bool inRow = false;
  for (int y = b.y + 22; y < box.Button().y - 2; ++y) {
    bool dark = false;
    for (int x = b.x + 4; x < b.x + b.w - 4; ++x) dark |= (shown.At(x, y) & 0xFF) < 100;
    if (dark && !inRow) ++textRows;
    inRow = dark;
  }
  EXPECT_EQ(textRows, 3);
  EXPECT_EQ(box.Button().w, 75);
  EXPECT_LE(std::abs((box.Button().x + 37) - kPageWidth / 2), 1);
}

}  // namespace
}  // namespace ombrevale
