#pragma once

#include <stdexcept>
#include <string>

namespace ombrevale {

// The one way the program fails: an unreadable picture, a broken invariant, a drawing call that
// would leave the window blank. The entry point catches it, shows the platform's error box where
// there is a desktop, says it on stderr as every complaint is said (platform/Complaint.h) and
// exits with 1.
class FatalError : public std::runtime_error {
 public:
  explicit FatalError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace ombrevale
