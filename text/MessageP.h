#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Controls.h"
#include "text/Strings.h"
#include "timing/TimeAPI.h"

namespace ombrevale {

// The message typewriter: reveals a pending message in a label one step at a time on slot 1,
// four lines a page; X shows the rest of the page at once, or clears a full page.
class MessageP {
 public:
  explicit MessageP(TimeAPI& time) : time_(time) {}

  // Starts a message: `label` shows `preceding` and then the message, step by step. Lines are
  // separated by "\r\n"; the text is UTF-8.
  void StartMessage(Label& label, std::string text, std::string preceding = {});

  // Slot 1: one step. A step moves one whole character, or one "\r\n" (counted as a line).
  void TypeTick();
  // The rest of the current page at once, in a single caption update.
  void FlushMessage();
  // The X key while a message is pending: the rest of the page, or a fresh page after a full one.
  void XPressed();

 private:
  TimeAPI& time_;
};

}  // namespace ombrevale
