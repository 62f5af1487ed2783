#include "text/MessageP.h"

#include <utility>

#include "platform/FatalError.h"
#include "timing/TimerSlots.h"

namespace ombrevale {

namespace {

// The typewriter's own slot, switched on at the interval start-up gives it, and off when done.
constexpr TimerSlot kTypeSlot = SlotOf(SlotHandler::TypeTick);
constexpr uint8_t kPageLines = 4;
const std::string kLineBreak = "\r\n";

bool StartsWithLineBreak(const std::string& text) {
  return text.starts_with(kLineBreak);
}

// The label the pending message goes to. A message is only ever started on a label; text put
// into the typewriter's state in any other way is a fault of the program.
Label& Target(const TimeAPI& time) {
  if (time.MessageLabel == nullptr) {
    throw FatalError("a message is pending without a label to show it");
  }
  return *time.MessageLabel;
}

}  // namespace

void MessageP::StartMessage(Label& label, std::string text, std::string preceding) {
  time_.MessageLabel = &label;
  label.Caption = std::move(preceding);
  time_.MessageLines = 0;
  time_.MessageText = std::move(text);
  time_.TimerInterval[kTypeSlot.slot] = kTypeSlot.interval;
}

void MessageP::TypeTick() {
  if (time_.MessageLines >= kPageLines) return;  // a full page waits for X
  std::string& text = time_.MessageText;
  if (text.empty()) {
    time_.TimerInterval[kTypeSlot.slot] = 0;
    return;
  }
  size_t step = FirstCharLength(text);
  if (StartsWithLineBreak(text)) {
    ++time_.MessageLines;
    step = kLineBreak.size();
  }
  Target(time_).Caption += text.substr(0, step);
  text.erase(0, step);
}

void MessageP::FlushMessage() {
  std::string& text = time_.MessageText;
  size_t taken = 0;
  while (taken < text.size() && time_.MessageLines < kPageLines) {
    if (text.compare(taken, kLineBreak.size(), kLineBreak) == 0) {
      ++time_.MessageLines;
      taken += kLineBreak.size();
    } else {
      taken += FirstCharLength(std::string_view(text).substr(taken));
    }
  }
  if (taken > 0) Target(time_).Caption += text.substr(0, taken);
  text.erase(0, taken);
}

void MessageP::XPressed() {
  if (time_.MessageLines < kPageLines) {
    FlushMessage();
  } else {
    Target(time_).Caption.clear();
    time_.MessageLines = 0;
  }
}

}  // namespace ombrevale
