#pragma once

// A desktop's clock whose date and time start at a fixed moment and count on with its
// milliseconds: for the tests that record a session across New Year's midnight on the real
// desktop (--clock-start).

#include <optional>

#include "platform/Clock.h"
#include "platform/calendar/FixedStart.h"

namespace ombrevale {

class FixedStartClock final : public Clock {
 public:
  FixedStartClock(Clock& inner, DateTimeFields start) : inner_(inner), start_(start) {}
  uint32_t timeGetTime() override { return inner_.timeGetTime(); }
  // The start plus the milliseconds since the first time the text was read.
  std::string DateTimeText() override {
    const uint32_t now = inner_.timeGetTime();
    if (!first_) first_ = now;
    return FormatDateTime(AfterMilliseconds(start_, static_cast<uint32_t>(now - *first_)));
  }

 private:
  Clock& inner_;
  DateTimeFields start_;
  std::optional<uint32_t> first_;
};

}  // namespace ombrevale
