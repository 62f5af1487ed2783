#pragma once

// What a web page's address asks of the program (?seed=, ?start=, ?scale=), read by the rules the
// desktop reads the same values by. A value it cannot take is not taken quietly: a warning names it
// and says what is used instead, as the desktop refuses the same value on its command line.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"

namespace ombrevale {

struct PageAddress {
  std::optional<uint32_t> seed;         // a fixed seed for the random draws
  std::optional<DateTimeFields> start;  // a fixed start for the clock
  std::optional<int> scale;             // the page's factor, 1 to 8
  std::vector<std::string> warnings;    // one line for each value not taken, "ombrevale: ..."
};

// Reads the address's settings through `setting` (the value given for a name; "" for none).
PageAddress ReadPageAddress(const std::function<std::string(const char*)>& setting);

}  // namespace ombrevale
