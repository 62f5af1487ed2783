// Prints where the client area of a window on the Windows desktop lies, for the tests that drive
// the program under Wine: client_area TITLE writes "X Y WIDTH HEIGHT" of the client area of the
// top-level window with that title, in the screen's own pixels; status 1 when there is no such
// window.

#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  // Aware of each monitor's density, so that the system gives the window's real pixels and never
  // figures scaled for a program that knows nothing of densities.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  HWND window = FindWindowW(nullptr, argv[1]);
  if (window == nullptr) return 1;
  RECT client{};
  GetClientRect(window, &client);
  POINT corner{0, 0};
  ClientToScreen(window, &corner);
  std::printf("%ld %ld %ld %ld\n", corner.x, corner.y, client.right, client.bottom);
  return 0;
}
