#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ombrevale {

// What the clock shows for a date-time text: the text with its year two ahead, and the seconds.
struct ClockReading {
  std::string caption;
  int16_t second = 0;
};

// Reads a date-time text of the form "2026/12/07 6:38:40" (a text with the date alone is midnight,
// "0:00:00") and shifts its year by two: "2026" shows as "2028", a short year is filled up from
// "2000" ("02" as "2004", "98" as "2100"). Month, day and time are copied as they stand.
// Nothing when the text is not one the clock can read: more than two blank-separated pieces, more
// than three date or time fields, a time without seconds, a year or seconds that are not a
// decimal number, a shifted year of more than four digits.
std::optional<ClockReading> ReadClock(const std::string& dateTime);

}  // namespace ombrevale
