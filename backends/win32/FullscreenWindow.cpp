#include "backends/win32/FullscreenWindow.h"

namespace ombrevale {

void FullscreenWindow::Set(HWND window, bool on) {
  if (on == on_) return;
  if (on) {
    style_ = GetWindowLongPtrW(window, GWL_STYLE);
    placement_.length = sizeof placement_;
    GetWindowPlacement(window, &placement_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    SetWindowLongPtrW(window, GWL_STYLE, (style_ & ~WS_OVERLAPPEDWINDOW) | WS_POPUP);
    const RECT& r = monitor.rcMonitor;
    SetWindowPos(window, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
  } else {
    SetWindowLongPtrW(window, GWL_STYLE, style_);
    SetWindowPlacement(window, &placement_);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
  }
  on_ = on;
  InvalidateRect(window, nullptr, FALSE);
}

bool FullscreenWindow::IsSwitchKey(UINT message, WPARAM virtualKey, LPARAM flags, bool shift,
                                   bool control, bool alt) {
  const bool repeat = (flags & (1 << 30)) != 0;  // the key was already down
  if (repeat) return false;
  if (virtualKey == VK_F11) return !shift && !control && !alt;
  return virtualKey == VK_RETURN && message == WM_SYSKEYDOWN && alt && !control;
}

}  // namespace ombrevale
