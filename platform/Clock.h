#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace ombrevale {

// The millisecond clock and the date-time text.
class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since the system started, as an unsigned 32-bit count that wraps every 49.7 days.
  virtual uint32_t timeGetTime() = 0;
  // The local date and time as "2026/12/07 6:38:40": year first, "/" between the date fields,
  // one blank, hours without a leading zero, ":" between the time fields.
  virtual std::string DateTimeText() = 0;
};

// The machine's clocks: milliseconds since boot (suspend included) and local time.
class SystemClock final : public Clock {
 public:
  uint32_t timeGetTime() override;
  std::string DateTimeText() override;
};

struct DateTimeFields {
  int year, month, day, hour, minute, second;
};
// The machine's local date and time now, in the C library's fields.
std::tm LocalTimeNow();
// The date-time text of the given fields, in the form above, whatever the user's locale.
std::string FormatDateTime(const DateTimeFields& t);

}  // namespace ombrevale
