#pragma once

// The main window on a Windows desktop: a top-level window with the system's own menu bar and
// message box, its client area the page area, painted from a page picture that scales by whole
// factors when the window is maximised or resized.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backends/win32/FullscreenWindow.h"
#include "backends/win32/PagePicture.h"
#include "backends/win32/WindowsApi.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"

namespace ombrevale {

class WinDesktop final : public Desktop {
 public:
  // The window is created hidden, its client area one page at the monitor's whole scale; `clock`
  // is the loop's millisecond clock, which WaitEvents wakes by.
  explicit WinDesktop(Clock& clock);
  ~WinDesktop() override;
  WinDesktop(const WinDesktop&) = delete;
  WinDesktop& operator=(const WinDesktop&) = delete;

  float ScreenWidth() override;
  float ScreenHeight() override;
  // The window keeps the size at which its client area holds one page: the requested outer size
  // only approximates that, and nothing in the program follows a resize.
  void SetWindowSize(float width, float height) override;
  float WindowWidth() override;
  float WindowHeight() override;
  void SetWindowPosition(float left, float top) override;
  void SetCaption(std::string_view caption) override;
  // Each entry is a top-level item of the menu bar, its first letter the access key (Alt+V).
  void SetMenu(const std::vector<std::string>& entries) override;
  void ShowWindow() override;

  void PumpEvents(WindowEvents& events) override;
  void WaitEvents(std::optional<uint32_t> due) override;

  void Present(const Scene& scene) override;
  // The system's own modal box, owned by the window. A close of the window while it is open
  // closes the box, and takes effect as it closes.
  void MessageBox(std::string_view title, std::string_view text) override;

  // On the whole screen, or back to the window; before the window is shown, how it will show.
  // F11 and Alt+Enter switch too.
  void SetFullscreen(bool on);
  bool Fullscreen() const { return fullscreen_.On(); }

  HWND Window() const { return window_; }
  // The composed page, for tests that look at what the window shows.
  const PagePicture& Page() const { return page_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  void Close();
  void PaintNow();
  // Twips per pixel on the primary screen.
  float TwipsPerPixel() const;

  Clock& clock_;
  HWND window_ = nullptr;
  HMENU menu_ = nullptr;
  PagePicture page_;
  FullscreenWindow fullscreen_;
  bool shown_ = false;
  bool fullscreenAtShow_ = false;
  // The client area's natural size: one page at the monitor's whole scale.
  int clientWidth_ = 0, clientHeight_ = 0;
  WindowEvents* events_ = nullptr;      // while events are being delivered
  WindowEvents* lastEvents_ = nullptr;  // the window's handlers, for the end of the session
  bool boxOpen_ = false;
  bool closeAsked_ = false;  // a close that came when no handler could take it yet
};

}  // namespace ombrevale
