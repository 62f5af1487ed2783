#pragma once

// The window's geometry as the window's handlers see it: the screen's size and the window's
// outer size and place in twips, frame, caption and menu included. A twip is 1/1440 of an inch:
// 15 to a pixel at the natural size, 15 / N at the page's factor N, so that the layout keeps its
// size in inches on a scaled desktop.

#include <SDL.h>

namespace ombrevale {

class WindowPlacement {
 public:
  explicit WindowPlacement(SDL_Window* window) : window_(window) {}

  float ScreenWidth() const;
  float ScreenHeight() const;
  // The size of the screen the window is on, in SDL's units (pixels, or points on Wayland).
  SDL_Point ScreenSize() const;
  float WindowWidth() const;
  float WindowHeight() const;
  // Places the outer frame's corner at (left, top) twips, to the nearest pixel; nothing clamps it.
  void SetPosition(float left, float top);
  // How many twips a unit of SDL's window geometry counts: a pixel on X11, a point on Wayland.
  void SetTwipsPerUnit(float twips) { twipsPerUnit_ = twips; }

 private:
  struct Borders {
    int top = 0, left = 0, bottom = 0, right = 0;
  };
  Borders FrameBorders() const;
  SDL_DisplayMode DesktopMode() const;

  SDL_Window* window_;
  float twipsPerUnit_ = 15;
};

}  // namespace ombrevale
