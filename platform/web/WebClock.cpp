#include "platform/web/WebClock.h"

#include <emscripten.h>

#include <cstdio>
#include <ctime>

namespace ombrevale {

WebClock::WebClock(std::optional<DateTimeFields> fixedStart) : fixedStart_(fixedStart) {}

uint32_t WebClock::timeGetTime() {
  // The page's clock starts at navigation and never goes back; its origin is a wall-clock time.
  const double ms = EM_ASM_DOUBLE({ return performance.timeOrigin + performance.now(); });
  const uint32_t reading = static_cast<uint32_t>(static_cast<uint64_t>(ms));
  if (!firstReading_) firstReading_ = reading;
  return reading;
}

std::string WebClock::DateTimeText() {
  if (fixedStart_) {
    const uint32_t now = timeGetTime();
    return FormatDateTime(
        AfterMilliseconds(*fixedStart_, static_cast<uint32_t>(now - *firstReading_)));
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return FormatDateTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                         local.tm_min, local.tm_sec});
}

DateTimeFields AfterMilliseconds(const DateTimeFields& start, long long ms) {
  std::tm t{};
  t.tm_year = start.year - 1900;
  t.tm_mon = start.month - 1;
  t.tm_mday = start.day;
  t.tm_hour = start.hour;
  t.tm_min = start.minute;
  t.tm_sec = start.second;
  const time_t at = timegm(&t) + static_cast<time_t>(ms / 1000);
  std::tm now{};
  gmtime_r(&at, &now);
  return {now.tm_year + 1900, now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec};
}

std::optional<DateTimeFields> ReadDateTime(const std::string& text) {
  DateTimeFields t{};
  char tail = 0;
  if (std::sscanf(text.c_str(), "%4d/%2d/%2d %2d:%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour,
                  &t.minute, &t.second, &tail) != 6)
    return std::nullopt;
  if (t.year < 1 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour < 0 ||
      t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59)
    return std::nullopt;
  return t;
}

}  // namespace ombrevale
