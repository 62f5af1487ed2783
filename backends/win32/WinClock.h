#pragma once

// The system's millisecond clock and local time on Windows: winmm's timeGetTime, with the
// timer's period set to 1 ms for as long as the clock lives, so that the loop's waits and the
// clock's readings are precise to the millisecond.

#include "platform/Clock.h"

namespace ombrevale {

class WinClock final : public Clock {
 public:
  WinClock();
  ~WinClock() override;
  WinClock(const WinClock&) = delete;
  WinClock& operator=(const WinClock&) = delete;

  uint32_t timeGetTime() override;
  // Local time from the system, in the program's own form (FormatDateTime).
  std::string DateTimeText() override;
};

}  // namespace ombrevale
