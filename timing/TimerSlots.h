#pragma once

// The fixed table of the timer slots that carry the system's periodic work: which slot, how often
// and which handler. Start-up sets the intervals from it, the loop calls the handlers by it, the
// typewriter finds its own slot in it, and the renderer steps its frames by the vision's interval.

#include <array>
#include <cstddef>
#include <cstdint>

namespace ombrevale {

// The handlers of the periodic work, in the order of the table. They live at the top of the
// program; this floor only names them.
enum class SlotHandler {
  PollMusic,   // loops or closes a finished piece of music
  TypeTick,    // one step of the message typewriter
  DrawVision,  // one frame of the title vision, then the clock
};

struct TimerSlot {
  int slot;
  int32_t interval;  // milliseconds, as start-up sets it
  SlotHandler handler;
};

// Slots 3 to 9 have no handler and no interval.
inline constexpr std::array<TimerSlot, 3> kTimerSlots = {{
    {0, 200, SlotHandler::PollMusic},
    {1, 200, SlotHandler::TypeTick},
    {2, 20, SlotHandler::DrawVision},
}};

// The row that carries `handler`.
constexpr const TimerSlot& SlotOf(SlotHandler handler) {
  return kTimerSlots[static_cast<size_t>(handler)];
}

// The row of slot `j`, or none for a slot without a handler.
constexpr const TimerSlot* SlotAt(int j) {
  for (const TimerSlot& row : kTimerSlots)
    if (row.slot == j) return &row;
  return nullptr;
}

static_assert(SlotOf(SlotHandler::PollMusic).handler == SlotHandler::PollMusic &&
                  SlotOf(SlotHandler::TypeTick).handler == SlotHandler::TypeTick &&
                  SlotOf(SlotHandler::DrawVision).handler == SlotHandler::DrawVision,
              "the table lists the handlers in their own order");

}  // namespace ombrevale
