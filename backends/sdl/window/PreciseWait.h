#pragma once

// Waiting for the window's events until a slot of the loop falls due, waking on the very
// millisecond it is due.

#include <cstdint>
#include <optional>

#include "platform/Clock.h"

namespace ombrevale {

// Waits until an event is pending or until `clock` reads `due` (wrap-aware), whichever comes
// first; without `due`, until an event is pending. Returns at once when `due` has passed. Never
// returns before `due` for want of an event, and never a millisecond late by its own doing.
void WaitForEvents(Clock& clock, std::optional<uint32_t> due);

}  // namespace ombrevale
