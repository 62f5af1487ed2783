#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/calendar/FixedStart.h"

namespace ombrevale {

// The page's milliseconds: the wall clock's at the page's start, carried on by its monotonic clock,
// modulo 2^32.
uint32_t PageMilliseconds();

// The clocks of a web page. The millisecond count is the wall clock's at the page's start, carried
// on by the page's monotonic clock, so that it never goes back and a new visit seeds the vision
// differently. The date-time text is the visitor's local time, or, when the address fixes a start
// (for tests and bug reports), that start plus the time since the first reading.
class WebClock final : public Clock {
 public:
  explicit WebClock(std::optional<DateTimeFields> fixedStart = std::nullopt);

  uint32_t timeGetTime() override;
  std::string DateTimeText() override;

 private:
  std::optional<DateTimeFields> fixedStart_;
  std::optional<uint32_t> firstReading_;
};

}  // namespace ombrevale
