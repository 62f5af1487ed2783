#include "backends/sdl/window/WindowPlacement.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/Controls.h"
#include "platform/FatalError.h"

namespace ombrevale {

SDL_DisplayMode WindowPlacement::DesktopMode() const {
  const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
  SDL_DisplayMode mode{};
  if (SDL_GetDesktopDisplayMode(display, &mode) != 0)
    throw FatalError(std::string("reading the screen's size failed: ") + SDL_GetError());
  return mode;
}

float WindowPlacement::ScreenWidth() const {
  return static_cast<float>(DesktopMode().w) * twipsPerUnit_;
}

float WindowPlacement::ScreenHeight() const {
  return static_cast<float>(DesktopMode().h) * twipsPerUnit_;
}

SDL_Point WindowPlacement::ScreenSize() const {
  const SDL_DisplayMode mode = DesktopMode();
  return {mode.w, mode.h};
}

WindowPlacement::Borders WindowPlacement::FrameBorders() const {
  Borders b;
  // Without a window manager (or before the window is first shown) there is no frame to ask.
  if (SDL_GetWindowBordersSize(window_, &b.top, &b.left, &b.bottom, &b.right) != 0)
    return Borders{};
  return b;
}

float WindowPlacement::WindowWidth() const {
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  const Borders b = FrameBorders();
  return static_cast<float>(w + b.left + b.right) * twipsPerUnit_;
}

float WindowPlacement::WindowHeight() const {
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  const Borders b = FrameBorders();
  return static_cast<float>(h + b.top + b.bottom) * twipsPerUnit_;
}

void WindowPlacement::SetPosition(float left, float top) {
  // SDL places the client area; the outer frame's corner is to land on (left, top).
  const Borders b = FrameBorders();
  const auto x = static_cast<int>(std::lround(left / twipsPerUnit_));
  const auto y = static_cast<int>(std::lround(top / twipsPerUnit_));
  SDL_SetWindowPosition(window_, x + b.left, y + b.top);
}

}  // namespace ombrevale
