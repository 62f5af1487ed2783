#include "backends/win32/WinDesktop.h"

#include <algorithm>

#include "backends/win32/KeyState.h"
#include "backends/win32/Utf16.h"
#include "platform/FatalError.h"
#include "platform/PageLayout.h"

namespace ombrevale {
namespace {

constexpr wchar_t kWindowClass[] = L"OmbrevaleMainWindow";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kExStyle = 0;
// Menu entries are numbered from here in WM_COMMAND.
constexpr UINT kFirstMenuId = 100;

UINT WindowDpi(HWND window) {
  const UINT dpi = window != nullptr ? GetDpiForWindow(window) : GetDpiForSystem();
  return dpi == 0 ? 96 : dpi;
}

// The monitor's whole scale: 1 up to 191 dots per inch, 2 from 192 ...
int WholeScale(UINT dpi) {
  return std::max(1, static_cast<int>(dpi / 96));
}

// The outer size of a window whose client area is `width` x `height`, below a menu bar.
SIZE OuterSize(int width, int height, UINT dpi) {
  RECT r{0, 0, width, height};
  AdjustWindowRectExForDpi(&r, kStyle, TRUE, kExStyle, dpi);
  return {r.right - r.left, r.bottom - r.top};
}

void RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = DefWindowProcW;  // replaced per window in WinDesktop::Procedure
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

WinDesktop::WinDesktop(Clock& clock) : clock_(clock) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterWindowClass(instance);
  const int scale = WholeScale(WindowDpi(nullptr));
  clientWidth_ = kPageWidth * scale;
  clientHeight_ = kPageHeight * scale;
  const SIZE outer = OuterSize(clientWidth_, clientHeight_, WindowDpi(nullptr));
  window_ = CreateWindowExW(kExStyle, kWindowClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            outer.cx, outer.cy, nullptr, nullptr, instance, this);
  if (window_ == nullptr) throw FatalError("The window could not be created");
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WinDesktop::Procedure));
}

WinDesktop::~WinDesktop() {
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
    DestroyWindow(window_);
  }
}

float WinDesktop::TwipsPerPixel() const {
  return 1440.0f / static_cast<float>(WindowDpi(nullptr));
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
  // The window's outer size follows, so that the client area keeps its size below the bar.
  ::SetMenu(window_, bar);
  if (menu_ != nullptr) DestroyMenu(menu_);
  menu_ = bar;
  const SIZE outer = OuterSize(clientWidth_, clientHeight_, WindowDpi(window_));
  SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{};
  GetClientRect(window_, &client);
  // A menu bar that wraps onto a second line takes more height: give the client area its size.
  if (client.bottom != clientHeight_) {
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy + clientHeight_ - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void WinDesktop::ShowWindow() {
  ::ShowWindow(window_, SW_SHOWNORMAL);
  shown_ = true;
  if (fullscreenAtShow_) fullscreen_.Set(window_, true);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
}

void WinDesktop::SetFullscreen(bool on) {
  if (!shown_) {
    fullscreenAtShow_ = on;
    return;
  }
  fullscreen_.Set(window_, on);
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
  }
  events_ = nullptr;
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
  page_.Compose(scene);
  PaintNow();
}

void WinDesktop::PaintNow() {
  if (!IsWindowVisible(window_)) return;
  RECT client{};
  GetClientRect(window_, &client);
  HDC dc = GetDC(window_);
  page_.Paint(dc, client.right, client.bottom);
  ReleaseDC(window_, dc);
}

void WinDesktop::MessageBox(std::string_view title, std::string_view text) {
  boxOpen_ = true;
  MessageBoxW(window_, Widen(text).c_str(), Widen(title).c_str(), MB_OK);
  boxOpen_ = false;
  DropInput(window_);
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

LRESULT CALLBACK WinDesktop::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* self = reinterpret_cast<WinDesktop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, w, l);
  return self->Handle(message, w, l);
}

LRESULT WinDesktop::Handle(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window_, &ps);
      RECT client{};
      GetClientRect(window_, &client);
      page_.Paint(dc, client.right, client.bottom);
      EndPaint(window_, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the page picture paints every pixel
    case WM_SIZE:
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_GETMINMAXINFO: {
      // Never smaller than one page.
      auto* info = reinterpret_cast<MINMAXINFO*>(l);
      const SIZE outer = OuterSize(kPageWidth, kPageHeight, WindowDpi(window_));
      info->ptMinTrackSize = {outer.cx, outer.cy};
      return 0;
    }
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(l);
      const int scale = WholeScale(HIWORD(w));
      clientWidth_ = kPageWidth * scale;
      clientHeight_ = kPageHeight * scale;
      const SIZE outer = OuterSize(clientWidth_, clientHeight_, HIWORD(w));
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, outer.cx, outer.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
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
    case WM_COMMAND:
      if (HIWORD(w) == 0 && LOWORD(w) >= kFirstMenuId && events_ != nullptr && !boxOpen_) {
        events_->MenuClick(static_cast<int>(LOWORD(w) - kFirstMenuId));
      }
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (w != FALSE) {
        // The session ends now: stop the sound and end as a close does, box or not.
        if (lastEvents_ != nullptr && !lastEvents_->Ended()) lastEvents_->Unload();
        ExitProcess(0);
      }
      return 0;
    default:
      return DefWindowProcW(window_, message, w, l);
  }
}

}  // namespace ombrevale
