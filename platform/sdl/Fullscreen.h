#pragma once

// Fullscreen on the desktop: the window covers its display, the client area scaled by the largest
// whole factor and centred on black; F11 and Alt+Enter toggle it.

#include <SDL.h>

namespace ombrevale {

// Whether a key press is one of the window's own fullscreen keys: F11, or Alt with Return or the
// keypad's Enter (not a key held down and repeating).
bool IsFullscreenKey(const SDL_KeyboardEvent& key);

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
};

}  // namespace ombrevale
