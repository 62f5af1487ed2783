#include "timing/TimeAPI.h"

#include <algorithm>

namespace ombrevale {

namespace {
uint32_t Elapsed(const TimeAPI& time, int j) {
  return static_cast<uint32_t>(time.TimerNow) - static_cast<uint32_t>(time.TimerLast[j]);
}
}  // namespace

bool SlotDue(const TimeAPI& time, int j) {
  const int32_t interval = time.TimerInterval[j];
  return interval > 0 && Elapsed(time, j) >= static_cast<uint32_t>(interval);
}

std::optional<uint32_t> NextDue(const TimeAPI& time) {
  std::optional<uint32_t> wait;
  for (int j = 0; j < TimeAPI::kSlots; ++j) {
    const int32_t interval = time.TimerInterval[j];
    if (interval <= 0) continue;
    const uint32_t elapsed = Elapsed(time, j);
    const uint32_t left = elapsed >= static_cast<uint32_t>(interval) ? 0 : interval - elapsed;
    wait = std::min(wait.value_or(left), left);
  }
  if (!wait) return std::nullopt;
  return static_cast<uint32_t>(time.TimerNow) + *wait;
}

}  // namespace ombrevale
