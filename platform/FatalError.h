#pragma once

#include <stdexcept>
#include <string>

namespace ombrevale {

// The one way the program fails: an unreadable picture, a broken invariant, a drawing call that
// would leave the window blank. Its text is one sentence, starting in lower case. The entry point
// catches it, says it as every complaint is said (platform/Complaint.h: a line on stderr), shows it
// in the platform's error box where there is a desktop to show it, and ends with status 1. A web
// page has no stderr and no process to end: it says the sentence in its console and shows it on
// the page in place of the window, which never shows.
class FatalError : public std::runtime_error {
 public:
  explicit FatalError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace ombrevale
