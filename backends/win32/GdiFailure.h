#pragma once

// The drawing calls the window cannot show its page without: one that fails would leave the window
// blank, so it is a fatal error that says what the window could not do and names the call.

#include <string>
#include <string_view>

#include "platform/FatalError.h"

namespace ombrevale {

// Throws a FatalError "WHAT: CALL failed" unless `succeeded`; `what` is said in lower case, as
// every complaint is ("the window could not paint its page", "BitBlt").
inline void RequireGdi(bool succeeded, std::string_view what, std::string_view call) {
  if (succeeded) return;
  std::string sentence(what);
  sentence += ": ";
  sentence += call;
  sentence += " failed";
  throw FatalError(sentence);
}

}  // namespace ombrevale
