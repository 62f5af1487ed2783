// The window's geometry in twips, read back from the window SDL made.

#include <gtest/gtest.h>

#include "tests/backends/sdl/SdlDesktopKit.h"

namespace ombrevale {
namespace {

TEST_F(SdlDesktopTest, GeometryInTwipsReadsBackTheWindowItIs) {
  // The dummy display is 1024 x 768.
  EXPECT_EQ(desktop_.ScreenWidth(), 1024 * 15.0f);
  EXPECT_EQ(desktop_.ScreenHeight(), 768 * 15.0f);
  // Natural size: one page and the menu strip; a size set is only a request.
  EXPECT_EQ(desktop_.WindowWidth(), 404 * 15.0f);
  EXPECT_EQ(desktop_.WindowHeight(), 324 * 15.0f);
  desktop_.SetWindowSize(6130, 5210);
  EXPECT_EQ(desktop_.WindowWidth(), 6060.0f);
  EXPECT_EQ(desktop_.WindowHeight(), 4860.0f);

  int x = 0, y = 0;
  desktop_.SetWindowPosition(4650, 3330);
  SDL_GetWindowPosition(desktop_.Window(), &x, &y);
  EXPECT_EQ(x, 310);
  EXPECT_EQ(y, 222);
  desktop_.SetWindowPosition(4657.4f, 3337.6f);  // 310.49, 222.51 pixels: to the nearest
  SDL_GetWindowPosition(desktop_.Window(), &x, &y);
  EXPECT_EQ(x, 310);
  EXPECT_EQ(y, 223);
  desktop_.SetWindowPosition(-150, -45);  // a screen smaller than the window: nothing clamps
  SDL_GetWindowPosition(desktop_.Window(), &x, &y);
  EXPECT_EQ(x, -10);
  EXPECT_EQ(y, -3);

  desktop_.SetCaption("Ombrevale 1.0");
  EXPECT_STREQ(SDL_GetWindowTitle(desktop_.Window()), "Ombrevale 1.0");
  EXPECT_EQ(SDL_GetWindowFlags(desktop_.Window()) & SDL_WINDOW_HIDDEN, SDL_WINDOW_HIDDEN);
  desktop_.ShowWindow();
  EXPECT_EQ(SDL_GetWindowFlags(desktop_.Window()) & SDL_WINDOW_HIDDEN, 0u);
}

}  // namespace
}  // namespace ombrevale
