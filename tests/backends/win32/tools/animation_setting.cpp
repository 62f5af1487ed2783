// Sets or reads the player's "Show animations in Windows" setting, for the tests of the calm start
// under Wine: animation_setting on|off sets it as the system's settings page does and tells the
// programs that run; with no argument it prints "on" or "off". Status 1 when the system refuses.

#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc > 2) return 2;
  if (argc == 2) {
    const bool on = lstrcmpW(argv[1], L"on") == 0;
    if (!on && lstrcmpW(argv[1], L"off") != 0) return 2;
    if (!SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0,
                               reinterpret_cast<PVOID>(static_cast<UINT_PTR>(on ? TRUE : FALSE)),
                               SPIF_SENDCHANGE))
      return 1;
  }
  BOOL on = TRUE;
  if (!SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &on, 0)) return 1;
  std::printf("%s\n", on ? "on" : "off");
  return 0;
}
