#include "backends/web/WebClock.h"

#include <emscripten.h>

#include <cstdio>
#include <ctime>

namespace ombrevale {

uint32_t PageMilliseconds() {
  // The page's clock starts at navigation and never goes back; its origin is a wall-clock time.
  const double ms = EM_ASM_DOUBLE({ return performance.timeOrigin + performance.now(); });
  return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

WebClock::WebClock(std::optional<DateTimeFields> fixedStart) : fixedStart_(fixedStart) {}

uint32_t WebClock::timeGetTime() {
  const uint32_t reading = PageMilliseconds();
  if (!firstReading_) {
    firstReading_ = reading;
    // Tests compare the clock's label with the time the page has run since.
    EM_ASM({ OmbrevaleProgram.clockStarted(); });
  }
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

}  // namespace ombrevale
