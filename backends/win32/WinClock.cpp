#include "backends/win32/WinClock.h"

#include "backends/win32/WindowsApi.h"

namespace ombrevale {

WinClock::WinClock() {
  timeBeginPeriod(1);
}

WinClock::~WinClock() {
  timeEndPeriod(1);
}

uint32_t WinClock::timeGetTime() {
  return ::timeGetTime();
}

std::string WinClock::DateTimeText() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return FormatDateTime({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond});
}

}  // namespace ombrevale
