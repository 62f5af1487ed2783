#pragma once

#include <stdexcept>
#include <string>

namespace ombrevale {

// The one way the program fails: an unreadable picture, a broken invariant. `main` catches it,
// says what happened on stderr (and in a message box where there is a display) and exits with 1.
class FatalError : public std::runtime_error {
 public:
  explicit FatalError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace ombrevale
