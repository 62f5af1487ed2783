#pragma once

// For the clocks that start at a fixed moment instead of now (the renderer's, the long run's, a
// web page's with a start in its address): reading the moment from its text, and counting on from
// it. Pure calendar arithmetic, without the C library's time zone: the same on every desktop.

#include <optional>
#include <string>

#include "platform/Clock.h"

namespace ombrevale {

// The fields of a date-time text in the clock's form ("2026/12/07 6:38:00", the hours with or
// without a leading zero); nothing for a text of any other form or a field out of its range.
std::optional<DateTimeFields> ReadDateTime(const std::string& text);

// The moment `ms` milliseconds after `start` (whole seconds count; the rest is dropped), across
// days, months, years and leap days.
DateTimeFields AfterMilliseconds(const DateTimeFields& start, long long ms);

}  // namespace ombrevale
