#include "backends/win32/WinDesktop.h"

#include <algorithm>
#include <utility>

#include "backends/win32/GdiFailure.h"
#include "backends/win32/KeyState.h"
#include "backends/win32/MotionSetting.h"
#include "backends/win32/ParentConsole.h"
#include "backends/win32/Utf16.h"
#include "platform/Complaint.h"
#include "platform/FatalError.h"
#include "platform/PageLayout.h"
#include "platform/scale/PageScale.h"
#include "platform/scale/Scaler.h"
#include "platform/scale/ScreenFit.h"

namespace ombrevale {
namespace {

constexpr wchar_t kWindowClass[] = L"OmbrevaleMainWindow";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kExStyle = 0;
// Menu entries are numbered from here in WM_COMMAND.
constexpr UINT kFirstMenuId = 100;
// The window's timer that closes a box shown for a while.
constexpr UINT_PTR kBoxTimer = 1;

UINT WindowDpi(HWND window) {
  const UINT dpi = window != nullptr ? GetDpiForWindow(window) : GetDpiForSystem();
  return dpi == 0 ? 96 : dpi;
}

// The factor the page is shown at in a client area of `width` x `height`: the largest whole factor
// that fits, never below the page's factor.
int ShownFactor(int width, int height, int pageScale) {
  return FitWholeFactor(width, height, kPageWidth, kPageHeight, pageScale).factor;
}

// The outer size of a window whose client area is `width` x `height`, below a menu bar.
SIZE OuterSize(int width, int height, UINT dpi) {
  RECT r{0, 0, width, height};
  AdjustWindowRectExForDpi(&r, kStyle, TRUE, kExStyle, dpi);
  return {r.right - r.left, r.bottom - r.top};
}

// The room a screen leaves the window's client area: its size less the frame, the caption and the
// menu bar at `dpi`; nothing where the screen cannot be asked.
SIZE ClientRoom(HMONITOR monitor, UINT dpi) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return {0, 0};
  const SIZE frame = OuterSize(0, 0, dpi);
  // A screen that leaves no room at all still has a size: the page then takes its least factor.
  return {std::max<LONG>(1, info.rcMonitor.right - info.rcMonitor.left - frame.cx),
          std::max<LONG>(1, info.rcMonitor.bottom - info.rcMonitor.top - frame.cy)};
}

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  // The icon of the program file (resource 1), where it has one.
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = nullptr;  // the page picture paints every pixel
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);  // a second desktop finds it registered
}

// The box the window owns while it is open: the thread's enabled top-level window owned by it.
HWND OwnedBox(HWND owner) {
  struct Search {
    HWND owner;
    HWND found;
  } search{owner, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM l) -> BOOL {
        auto* s = reinterpret_cast<Search*>(l);
        if (GetWindow(w, GW_OWNER) == s->owner && IsWindowEnabled(w)) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Drops the input that reached the window while the box was open.
void DropInput(HWND window) {
  MSG msg;
  while (PeekMessageW(&msg, window, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
  }
  while (PeekMessageW(&msg, window, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
  }
}

}  // namespace

WinDesktop::WinDesktop(Clock& clock, std::optional<int> askedScale)
    : clock_(clock), askedScale_(askedScale) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterWindowClass(instance, &WinDesktop::Procedure);
  // The window opens on the main screen.
  pageScale_ = PageScaleAt(WindowDpi(nullptr), MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY));
  page_.SetFactor(pageScale_);
  const SIZE outer =
      OuterSize(kPageWidth * pageScale_, kPageHeight * pageScale_, WindowDpi(nullptr));
  // The procedure takes this desktop from the creation's parameters at WM_NCCREATE.
  const HWND window =
      CreateWindowExW(kExStyle, kWindowClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, outer.cx,
                      outer.cy, nullptr, nullptr, instance, this);
  if (window == nullptr) throw FatalError("the window could not be created");
  accessible_ = new PageAccessible(
      window, [this] { return AccessibleParts(); },
      [window] { PostMessageW(window, kPromptPressed, 0, 0); });
  if (failure_) {
    LetGo();
    ThrowFailure();
  }
  dpi_ = WindowDpi(window_);
}

WinDesktop::~WinDesktop() {
  LetGo();
}

void WinDesktop::LetGo() {
  if (accessible_ != nullptr) {
    accessible_->Disconnect();
    std::exchange(accessible_, nullptr)->Release();
  }
  if (window_ == nullptr) return;
  // The window's last messages go to the system's own procedure, not to a desktop on its way out.
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
  window_ = nullptr;
}

int WinDesktop::PageScaleAt(UINT dpi, HMONITOR monitor) {
  const double desktop = static_cast<double>(dpi) / kNaturalDpi;
  const SIZE room = ClientRoom(monitor, dpi);
  const ScreenFit fit =
      FitOnScreen(askedScale_, desktop, room.cx, room.cy, kPageWidth, kPageHeight);
  if (fit.absurd && !absurdScaleSaid_) {
    absurdScaleSaid_ = true;
    WriteToParentConsole(Complaint(AbsurdScaleSentence(desktop)) + "\n", true);
  }
  return fit.factor;
}

float WinDesktop::TwipsPerPixel() const {
  return TwipsPerPixelAt(pageScale_);
}

double WinDesktop::ShownScale() {
  return page_.Factor() * kNaturalDpi / dpi_;
}

float WinDesktop::ScreenWidth() {
  return static_cast<float>(GetSystemMetrics(SM_CXSCREEN)) * TwipsPerPixel();
}

float WinDesktop::ScreenHeight() {
  return static_cast<float>(GetSystemMetrics(SM_CYSCREEN)) * TwipsPerPixel();
}

void WinDesktop::SetWindowSize(float, float) {}

float WinDesktop::WindowWidth() {
  RECT r{};
  GetWindowRect(window_, &r);
  return static_cast<float>(r.right - r.left) * TwipsPerPixel();
}

float WinDesktop::WindowHeight() {
  RECT r{};
  GetWindowRect(window_, &r);
  return static_cast<float>(r.bottom - r.top) * TwipsPerPixel();
}

void WinDesktop::SetWindowPosition(float left, float top) {
  // Whole pixels towards zero, as twips become pixels everywhere in the program.
  const int x = static_cast<int>(left / TwipsPerPixel());
  const int y = static_cast<int>(top / TwipsPerPixel());
  SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinDesktop::SetCaption(std::string_view caption) {
  SetWindowTextW(window_, Widen(caption).c_str());
}

void WinDesktop::SetMenu(const std::vector<std::string>& entries) {
  HMENU bar = CreateMenu();
  for (size_t i = 0; i < entries.size(); ++i) {
    // The first letter is the access key; an "&" of the caption itself is doubled.
    std::wstring caption = L"&";
    for (wchar_t c : Widen(entries[i])) {
      if (c == L'&') caption += L'&';
      caption += c;
    }
    AppendMenuW(bar, MF_STRING, kFirstMenuId + i, caption.c_str());
  }
  ::SetMenu(window_, bar);
  if (menu_ != nullptr) DestroyMenu(menu_);
  menu_ = bar;
  FitClientToPage(WindowDpi(window_));
  ThrowFailure();
}

void WinDesktop::FitClientToPage(UINT dpi) {
  SizeClient(kPageWidth * pageScale_, kPageHeight * pageScale_, dpi);
}

void WinDesktop::SizeClient(int width, int height, UINT dpi) {
  SIZE outer = OuterSize(width, height, dpi);
  SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A menu bar that wraps onto a second line, or a frame whose size the system measures otherwise,
  // takes more or less: give the client area its size.
  RECT client{};
  GetClientRect(window_, &client);
  if (client.right != width || client.bottom != height) {
    outer.cx += width - client.right;
    outer.cy += height - client.bottom;
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int WinDesktop::MenuBarHeight() const {
  MENUBARINFO bar{};
  bar.cbSize = sizeof bar;
  if (menu_ == nullptr || !GetMenuBarInfo(window_, OBJID_MENU, 0, &bar)) return 0;
  return bar.rcBar.bottom - bar.rcBar.top;
}

std::optional<WindowShape> WinDesktop::Shape() {
  RECT client{};
  GetClientRect(window_, &client);
  return WindowShape{client.right, client.bottom + MenuBarHeight(), fullscreen_.On()};
}

void WinDesktop::SetShape(const WindowShape& shape) {
  if (shape.fullscreen != fullscreen_.On()) SetFullscreen(shape.fullscreen);
  if (shape.fullscreen || shape.width <= 0 || shape.height <= MenuBarHeight()) return;
  if (IsZoomed(window_)) ::ShowWindow(window_, SW_RESTORE);
  SizeClient(shape.width, shape.height - MenuBarHeight(), WindowDpi(window_));
  ThrowFailure();
}

void WinDesktop::ShowWindow() {
  ::ShowWindow(window_, SW_SHOWNORMAL);
  shown_ = true;
  if (fullscreenAtShow_) fullscreen_.Set(window_, true);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
  ThrowFailure();
}

void WinDesktop::SetFullscreen(bool on) {
  if (!shown_) {
    fullscreenAtShow_ = on;
    return;
  }
  fullscreen_.Set(window_, on);
  ThrowFailure();
}

void WinDesktop::PumpEvents(WindowEvents& events) {
  events_ = lastEvents_ = &events;
  if (closeAsked_) {
    closeAsked_ = false;
    events.Unload();
  }
  MSG msg;
  while (!events.Ended() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      events.Unload();
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (failure_) break;
  }
  events_ = nullptr;
  ThrowFailure();
}

void WinDesktop::WaitEvents(std::optional<uint32_t> due) {
  DWORD timeout = INFINITE;
  if (due) {
    const auto left = static_cast<int32_t>(*due - clock_.timeGetTime());
    if (left <= 0) return;
    timeout = static_cast<DWORD>(left);
  }
  // Messages already queued count as well as new ones: the wait never sleeps over one.
  MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void WinDesktop::Present(const Scene& scene) {
  const bool hadButton = !page_.PromptButtonArea().Empty();
  page_.Compose(scene);
  PaintNow();
  const bool hasButton = !page_.PromptButtonArea().Empty();
  if (hasButton != hadButton && accessible_ != nullptr) accessible_->ButtonShown(hasButton);
}

void WinDesktop::PaintNow() {
  if (!IsWindowVisible(window_) || IsIconic(window_)) return;
  RECT client{};
  GetClientRect(window_, &client);
  HDC dc = GetDC(window_);
  RequireGdi(dc != nullptr, "the window could not paint its page", "GetDC");
  struct Release {
    HWND window;
    HDC dc;
    ~Release() { ReleaseDC(window, dc); }
  } release{window_, dc};
  page_.Paint(dc, client.right, client.bottom);
}

void WinDesktop::MessageBox(std::string_view title, std::string_view text) {
  boxOpen_ = true;
  MessageBoxW(window_, Widen(text).c_str(), Widen(title).c_str(), MB_OK);
  boxOpen_ = false;
  DropInput(window_);
  ThrowFailure();
}

bool WinDesktop::PrefersLessMotion() {
  return !WindowsShowsAnimations();
}

void WinDesktop::MessageBoxUntil(std::string_view title, std::string_view text, uint32_t closeAt) {
  // The window's timer reaches it through the box's own loop, which closes the box as OK does.
  const auto left = static_cast<int32_t>(closeAt - clock_.timeGetTime());
  SetTimer(window_, kBoxTimer, static_cast<UINT>(std::max<int32_t>(left, USER_TIMER_MINIMUM)),
           nullptr);
  struct Kill {
    HWND window;
    ~Kill() { KillTimer(window, kBoxTimer); }
  } kill{window_};
  MessageBox(title, text);
}

void WinDesktop::Close() {
  if (boxOpen_) {
    // The box goes first; the close is delivered as soon as the loop takes events again.
    closeAsked_ = true;
    if (HWND box = OwnedBox(window_)) EndDialog(box, IDOK);
    return;
  }
  if (events_ != nullptr) {
    events_->Unload();
  } else {
    closeAsked_ = true;
  }
}

void WinDesktop::ThrowFailure() {
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

LRESULT CALLBACK WinDesktop::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* created = reinterpret_cast<const CREATESTRUCTW*>(l);
    auto* self = static_cast<WinDesktop*>(created->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<WinDesktop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  // Before WM_NCCREATE, after the desktop let go, and once something failed: the system's own.
  if (self == nullptr || self->failure_) return DefWindowProcW(window, message, w, l);
  try {
    return self->Handle(message, w, l);
  } catch (...) {
    self->failure_ = std::current_exception();
    // An open box would hold the failure until the player closed it: it goes at once.
    if (HWND box = self->boxOpen_ ? OwnedBox(window) : nullptr) EndDialog(box, IDOK);
    return DefWindowProcW(window, message, w, l);
  }
}

LRESULT WinDesktop::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_PAINT:
      return OnPaint();
    case WM_ERASEBKGND:
      return 1;  // the page picture paints every pixel
    case WM_SIZE:
      return OnSize(w);
    case WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(l);
    case WM_DPICHANGED:
      return OnDpiChanged(w, l);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return OnKeyDown(message, w, l);
    case WM_COMMAND:
      return OnCommand(w);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_CAPTURECHANGED:
      return OnMouse(message, l);
    case WM_CLOSE:
      Close();
      return 0;
    case WM_TIMER:
      if (w != kBoxTimer) return DefWindowProcW(window_, message, w, l);
      return OnBoxTimer();
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      return OnEndSession(w);
    case WM_GETOBJECT:
    case kPromptPressed:
      return OnAccessible(message, w, l);
    default:
      return DefWindowProcW(window_, message, w, l);
  }
}

LRESULT WinDesktop::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  struct End {
    HWND window;
    PAINTSTRUCT* ps;
    ~End() { EndPaint(window, ps); }
  } end{window_, &ps};
  RequireGdi(dc != nullptr, "the window could not paint its page", "BeginPaint");
  RECT client{};
  GetClientRect(window_, &client);
  page_.Paint(dc, client.right, client.bottom);
  return 0;
}

LRESULT WinDesktop::OnSize(WPARAM w) {
  // Minimised, the page keeps the factor it had.
  if (w != SIZE_MINIMIZED) FollowClientSize();
  return 0;
}

void WinDesktop::FollowClientSize() {
  // Maximised or on the whole screen, the page grows by whole factors, never below its own.
  RECT client{};
  GetClientRect(window_, &client);
  page_.SetFactor(ShownFactor(client.right, client.bottom, pageScale_));
  InvalidateRect(window_, nullptr, FALSE);
}

LRESULT WinDesktop::OnGetMinMaxInfo(LPARAM l) {
  // Never smaller than one page at its factor; on the whole screen, the screen's size whatever.
  if (fullscreen_.On()) return 0;
  auto* info = reinterpret_cast<MINMAXINFO*>(l);
  const SIZE outer =
      OuterSize(kPageWidth * pageScale_, kPageHeight * pageScale_, WindowDpi(window_));
  info->ptMinTrackSize = {outer.cx, outer.cy};
  return 0;
}

LRESULT WinDesktop::OnDpiChanged(WPARAM w, LPARAM l) {
  // The window moved to a screen of another density, or the density changed: the page takes the
  // factor of the new one, at the place the system suggests.
  const RECT* suggested = reinterpret_cast<const RECT*>(l);
  const UINT dpi = HIWORD(w);
  dpi_ = dpi == 0 ? 96 : dpi;
  pageScale_ = PageScaleAt(dpi, MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST));
  SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!fullscreen_.On() && !IsZoomed(window_)) FitClientToPage(dpi);
  FollowClientSize();
  return 0;
}

LRESULT WinDesktop::OnKeyDown(UINT message, WPARAM w, LPARAM l) {
  const auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
  if (FullscreenWindow::IsSwitchKey(message, w, l, down(VK_SHIFT), down(VK_CONTROL),
                                    down(VK_MENU))) {
    // The window's own key: it switches the screen and reaches no handler.
    fullscreen_.Toggle(window_);
    return 0;
  }
  if (events_ != nullptr && !boxOpen_) {
    int16_t code = VirtualKeyOf(w);
    if (code != 0) events_->KeyDown(code, ShiftState());
  }
  // Alt and F10 open the menu bar, Alt+F4 closes: the system's own keys.
  if (message == WM_SYSKEYDOWN) return DefWindowProcW(window_, message, w, l);
  return 0;
}

LRESULT WinDesktop::OnCommand(WPARAM w) {
  if (HIWORD(w) == 0 && LOWORD(w) >= kFirstMenuId && events_ != nullptr && !boxOpen_) {
    events_->MenuClick(static_cast<int>(LOWORD(w) - kFirstMenuId));
  }
  return 0;
}

LRESULT WinDesktop::OnMouse(UINT message, LPARAM l) {
  RECT client{};
  GetClientRect(window_, &client);
  const Rect page = page_.PlaceIn(client.right, client.bottom);
  const int x = static_cast<short>(LOWORD(l)) - page.x, y = static_cast<short>(HIWORD(l)) - page.y;
  const bool over = page_.PromptButtonArea().Contains(x, y);
  if (message == WM_LBUTTONDOWN && over) {
    // As a push button does: pressed while the pointer is over it, clicked if it goes up there.
    promptHeld_ = true;
    SetCapture(window_);
  } else if (message == WM_LBUTTONUP && promptHeld_) {
    promptHeld_ = false;
    ReleaseCapture();
    if (over && events_ != nullptr && !boxOpen_) events_->PromptClick();
  } else if (message == WM_CAPTURECHANGED) {
    promptHeld_ = false;
  }
  if (page_.PressPrompt(promptHeld_ && over)) PaintNow();
  return 0;
}

LRESULT WinDesktop::OnBoxTimer() {
  HWND box = boxOpen_ ? OwnedBox(window_) : nullptr;
  if (boxOpen_ && box == nullptr) {
    // Not on the screen yet: soon again.
    SetTimer(window_, kBoxTimer, USER_TIMER_MINIMUM, nullptr);
    return 0;
  }
  KillTimer(window_, kBoxTimer);
  if (box != nullptr) EndDialog(box, IDOK);
  return 0;
}

LRESULT WinDesktop::OnEndSession(WPARAM w) {
  if (w != FALSE) {
    // The session ends now: stop the sound and end as a close does, box or not.
    if (lastEvents_ != nullptr && !lastEvents_->Ended()) lastEvents_->Unload();
    ExitProcess(0);
  }
  return 0;
}

}  // namespace ombrevale
