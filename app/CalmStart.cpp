#include "app/CalmStart.h"

#include "timing/TimerSlots.h"

namespace ombrevale {

namespace {
constexpr const TimerSlot& kVisionSlot = SlotOf(SlotHandler::DrawVision);
}  // namespace

void CalmStart::Ask() {
  if (state_ == State::Off) state_ = State::Asked;
}

bool CalmStart::AfterFrame(TimeAPI& time) {
  if (state_ != State::Asked) return false;
  state_ = State::Waiting;
  time.TimerInterval[kVisionSlot.slot] = 0;  // a slot is off while its interval is 0
  return true;
}

bool CalmStart::Start(TimeAPI& time) {
  if (state_ != State::Waiting) return false;
  state_ = State::Started;
  time.TimerInterval[kVisionSlot.slot] = kVisionSlot.interval;
  // Due in the pass that took the press, however long the vision stood still: the slot's elapsed
  // time is counted modulo 2^32 milliseconds, so a wait of fifty days could read as a moment.
  time.TimerLast[kVisionSlot.slot] =
      static_cast<int32_t>(static_cast<uint32_t>(time.TimerNow) - kVisionSlot.interval);
  return true;
}

}  // namespace ombrevale
