#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Clock.h"

namespace ombrevale {

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

// The date and time `ms` milliseconds after `start`, in whole seconds of the calendar.
DateTimeFields AfterMilliseconds(const DateTimeFields& start, long long ms);

// Reads "2026/12/07 06:38:00" (or with "6:38:00"); nothing when the text is no such date and time.
std::optional<DateTimeFields> ReadDateTime(const std::string& text);

}  // namespace ombrevale
