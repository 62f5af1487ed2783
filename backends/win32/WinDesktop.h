#pragma once

// The main window on a Windows desktop: a top-level window with the system's own menu bar and
// message box, its client area the page area at a whole factor N of its natural size, from the
// desktop's scale (its dots per inch / 96, the nearest whole number, halves up) or as the player
// asked, but never more than fits the screen; painted from a page picture that shows the page at N,
// or at the largest whole factor that fits a maximised or full-screen window, never below N.

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backends/win32/FullscreenWindow.h"
#include "backends/win32/PageAccessible.h"
#include "backends/win32/PagePicture.h"
#include "backends/win32/WindowsApi.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"

namespace ombrevale {

class WinDesktop final : public Desktop {
 public:
  // The window is created hidden, its client area one page at the page's factor: `askedScale`
  // where the player asked for one (--scale), else the desktop's. `clock` is the loop's
  // millisecond clock, which WaitEvents wakes by. Twips are measured at 15 / N to a pixel, so that
  // all of the window's layout comes out N times larger.
  explicit WinDesktop(Clock& clock, std::optional<int> askedScale = std::nullopt);
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
  // The player turned "Show animations in Windows" off (MotionSetting).
  bool PrefersLessMotion() override;
  // The window's inside (its client area with the menu bar over it) in pixels, and whether it
  // fills the screen; given back, as a replay shows the sizes the player chose.
  std::optional<WindowShape> Shape() override;
  void SetShape(const WindowShape& shape) override;
  // The box, closed as OK closes it once `clock` reads `closeAt`, if the player has not.
  void MessageBoxUntil(std::string_view title, std::string_view text, uint32_t closeAt) override;

  // On the whole screen, or back to the window; before the window is shown, how it will show.
  // F11 and Alt+Enter switch too.
  void SetFullscreen(bool on);
  bool Fullscreen() const { return fullscreen_.On(); }

  HWND Window() const { return window_; }
  // The page's factor N in a normal window.
  int PageScale() const { return pageScale_; }
  // The factor the page is shown at now x 96 / the window's dots per inch.
  double ShownScale() override;
  // The composed page as shown, for tests that look at what the window shows.
  const PagePicture& Page() const { return page_; }

 private:
  // The window class's procedure: it finds the desktop the window was created for, which it
  // stored at WM_NCCREATE. A failure inside is kept, and thrown again once the system's call
  // that delivered the message returns (ThrowFailure), never through the system's own frames.
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT Handle(UINT message, WPARAM w, LPARAM l);
  void ThrowFailure();
  LRESULT OnPaint();
  LRESULT OnSize(WPARAM w);
  LRESULT OnGetMinMaxInfo(LPARAM l);
  LRESULT OnDpiChanged(WPARAM w, LPARAM l);
  LRESULT OnKeyDown(UINT message, WPARAM w, LPARAM l);
  LRESULT OnCommand(WPARAM w);
  // The prompt's button: pressed with the left button, clicked when the button goes up over it.
  LRESULT OnMouse(UINT message, LPARAM l);
  LRESULT OnEndSession(WPARAM w);
  // The time a box was to be shown for is up: it closes as OK closes it.
  LRESULT OnBoxTimer();
  // A screen reader: its question for the page's parts (WM_GETOBJECT), or its press of the
  // prompt's button (kPromptPressed).
  LRESULT OnAccessible(UINT message, WPARAM w, LPARAM l);
  // What the page shows a screen reader now, in the client area's pixels.
  std::vector<PagePart> AccessibleParts() const;
  // A screen reader pressed the prompt's button (its default action), posted to the window.
  static constexpr UINT kPromptPressed = WM_APP + 1;
  // The page's factor for the client area's size now.
  void FollowClientSize();
  // Destroys the window, its messages no longer reaching this desktop.
  void LetGo();
  void Close();
  void PaintNow();
  // The page's factor at `dpi` on screen `monitor`: the player's, or the desktop's scale, but never
  // more than fits the screen; an absurd scale is said once.
  int PageScaleAt(UINT dpi, HMONITOR monitor);
  // Sizes the window so that its client area, below the menu bar, is one page at the factor.
  void FitClientToPage(UINT dpi);
  // Sizes the window so that its client area is `width` x `height`.
  void SizeClient(int width, int height, UINT dpi);
  // The menu bar's height in pixels, as the window shows it now.
  int MenuBarHeight() const;
  // Twips per pixel: 15 / N.
  float TwipsPerPixel() const;

  Clock& clock_;
  const std::optional<int> askedScale_;
  int pageScale_ = 1;
  bool absurdScaleSaid_ = false;
  UINT dpi_ = 96;  // the window's dots per inch, as the system last said
  HWND window_ = nullptr;
  HMENU menu_ = nullptr;
  PagePicture page_;
  // The page's parts for screen readers; held, as the system's clients may hold it too.
  PageAccessible* accessible_ = nullptr;
  FullscreenWindow fullscreen_;
  bool shown_ = false;
  bool fullscreenAtShow_ = false;
  bool promptHeld_ = false;  // the left button went down on the prompt's button
  std::exception_ptr failure_;
  WindowEvents* events_ = nullptr;      // while events are being delivered
  WindowEvents* lastEvents_ = nullptr;  // the window's handlers, for the end of the session
  bool boxOpen_ = false;
  bool closeAsked_ = false;  // a close that came when no handler could take it yet
};

}  // namespace ombrevale
