#pragma once

// The window on the whole screen and back: a borderless window covering its monitor, menu bar
// kept, the page scaled in it by whole factors; back again, the frame and the place it had.
// F11, and Alt+Enter, switch between the two, as in most Windows games.

#include "backends/win32/WindowsApi.h"

namespace ombrevale {

class FullscreenWindow {
 public:
  bool On() const { return on_; }
  void Set(HWND window, bool on);
  void Toggle(HWND window) { Set(window, !on_); }

  // Whether a key press (WM_KEYDOWN or WM_SYSKEYDOWN with its wParam and lParam) is one of the
  // switching keys: F11 alone, or Alt+Enter; a key held down and repeating is not.
  static bool IsSwitchKey(UINT message, WPARAM virtualKey, LPARAM flags, bool shift, bool control,
                          bool alt);

 private:
  bool on_ = false;
  LONG_PTR style_ = 0;
  WINDOWPLACEMENT placement_{};
};

}  // namespace ombrevale
