#include "platform/Clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace ombrevale {

uint32_t SystemClock::timeGetTime() {
#if defined(CLOCK_BOOTTIME)
  // Boot time counts the time the machine slept too: milliseconds since the system started.
  timespec ts{};
  clock_gettime(CLOCK_BOOTTIME, &ts);
  const uint64_t ms =
      static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1'000'000u;
  return static_cast<uint32_t>(ms);
#else
  // Where the system has no boot clock, its steady clock; a desktop backend brings the system's
  // own millisecond clock.
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
#endif
}

std::tm LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local;
}

std::string SystemClock::DateTimeText() {
  const std::tm local = LocalTimeNow();
  return FormatDateTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                         local.tm_min, local.tm_sec});
}

std::string FormatDateTime(const DateTimeFields& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%d/%02d/%02d %d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

}  // namespace ombrevale
