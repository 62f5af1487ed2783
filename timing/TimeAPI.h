#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Controls.h"

namespace ombrevale {

// The timer-slot tables of the loop and the message typewriter's state.
struct TimeAPI {
  static constexpr int kSlots = 10;

  // Interval of each slot in milliseconds; a slot is on while its interval is above 0.
  std::array<int32_t, kSlots> TimerInterval{};
  // The clock reading at which each slot last fired; 0 until it first fires.
  std::array<int32_t, kSlots> TimerLast{};
  // The clock reading at the top of the current pass of the loop.
  int32_t TimerNow = 0;

  // The label that receives the pending message, the part not yet shown, and the line breaks
  // moved into the label since the current page began.
  Label* MessageLabel = nullptr;
  std::string MessageText;
  uint8_t MessageLines = 0;
};

// True when slot `j` is on and its interval has passed since it last fired. The elapsed time is
// the clock's difference taken modulo 2^32, so slots keep their rhythm when the millisecond count
// passes 2^31 and when it wraps to 0 after 2^32.
bool SlotDue(const TimeAPI& time, int j);

// The clock reading at which the next slot falls due, counted from `TimerNow`; `TimerNow` itself
// when one is due already; nothing when every slot is off.
std::optional<uint32_t> NextDue(const TimeAPI& time);

// The slot scan of one pass: takes `now` as `TimerNow`, then for each slot in ascending order that
// is due, sets its `TimerLast` to `TimerNow` and only then calls `fire(j)`. A slot fires at most
// once a pass, all against the same reading, and a late one does not catch up. An interval is
// read afresh when its slot is examined, so a handler may switch later slots on or off.
template <typename Fire>
void FireDueSlots(TimeAPI& time, uint32_t now, Fire&& fire) {
  time.TimerNow = static_cast<int32_t>(now);
  for (int j = 0; j < TimeAPI::kSlots; ++j) {
    if (!SlotDue(time, j)) continue;
    time.TimerLast[j] = time.TimerNow;
    fire(j);
  }
}

}  // namespace ombrevale
