#pragma once

// The window's geometry as the window's handlers see it: the screen's size and the window's
// outer size and place in twips, frame, caption and menu included.

#include <SDL.h>

namespace ombrevale {

class WindowPlacement {
 public:
  explicit WindowPlacement(SDL_Window* window) : window_(window) {}

  float ScreenWidth() const;
  float ScreenHeight() const;
  float WindowWidth() const;
  float WindowHeight() const;
  // Places the outer frame's corner at (left, top) twips, to the nearest pixel; nothing clamps it.
  void SetPosition(float left, float top);

 private:
  struct Borders {
    int top = 0, left = 0, bottom = 0, right = 0;
  };
  Borders FrameBorders() const;
  SDL_DisplayMode DesktopMode() const;

  SDL_Window* window_;
};

}  // namespace ombrevale
