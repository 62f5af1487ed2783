#pragma once

// Fullscreen on the desktop: the window covers its display, the client area scaled by the largest
// whole factor and centred on black; F11 and Alt+Enter toggle it.

#include <SDL.h>

namespace ombrevale {

// Whether a key press is one of the window's own fullscreen keys: F11, or Alt with Return or the
// keypad's Enter (not a key held down and repeating).
bool IsFullscreenKey(const SDL_KeyboardEvent& key);

// Asks the window manager, as every desktop does. Where no window manager would answer (a bare X
// server), the window covers its display by itself: the same look, without a manager's help.
class Fullscreen {
 public:
  explicit Fullscreen(SDL_Window* window) : window_(window) {}

  bool On() const;
  void Set(bool on);
  void Toggle() { Set(!On()); }

 private:
  SDL_Window* window_;
  // The window's place and size before it went fullscreen: without a window manager nobody else
  // remembers them.
  SDL_Rect windowed_{};
  bool remembered_ = false;
  bool selfMade_ = false;  // covering the display by itself, for want of a window manager
};

// Whether the window's manager makes windows fullscreen when asked: on X11 only one that lists
// _NET_WM_STATE_FULLSCREEN among what it supports; elsewhere the compositor always does.
bool ManagerGrantsFullscreen(SDL_Window* window);

}  // namespace ombrevale
