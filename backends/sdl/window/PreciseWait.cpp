#include "backends/sdl/window/PreciseWait.h"

#include <SDL.h>
#include <time.h>

#include <cerrno>

namespace ombrevale {
namespace {

// The wait sleeps in SDL's event wait until this close to the due time, then precisely.
constexpr int32_t kPreciseSleepMs = 2;

uint64_t BootNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(now.tv_nsec);
}

// Sleeps until the boot clock reads `ns`, to the nanosecond as far as the kernel allows.
void SleepUntilBootNanoseconds(uint64_t ns) {
  timespec until{};
  until.tv_sec = static_cast<time_t>(ns / 1'000'000'000u);
  until.tv_nsec = static_cast<long>(ns % 1'000'000'000u);
  while (clock_nanosleep(CLOCK_BOOTTIME, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}

}  // namespace

void WaitForEvents(Clock& clock, std::optional<uint32_t> due) {
  if (!due) {
    SDL_WaitEvent(nullptr);
    return;
  }
  for (;;) {
    const uint64_t now = BootNanoseconds();
    const int32_t left = static_cast<int32_t>(*due - clock.timeGetTime());
    if (left <= 0) return;
    if (left > kPreciseSleepMs) {
      if (SDL_WaitEventTimeout(nullptr, left - kPreciseSleepMs) != 0) return;
      continue;
    }
    // The last stretch: SDL's wait wakes on whole milliseconds and may wake one late, and a slot
    // that fires late never catches up. The clock counts whole milliseconds of the boot clock, so
    // sleep to the very nanosecond at which it turns to `due`. The boot clock was read first: if
    // the millisecond turned in between, this wakes a millisecond early and goes round again,
    // never late.
    SleepUntilBootNanoseconds((now / 1'000'000u + static_cast<uint64_t>(left)) * 1'000'000u);
  }
}

}  // namespace ombrevale
