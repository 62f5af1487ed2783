// Feeds arbitrary date-time texts to the clock. Whatever the text, the clock either reads it or
// leaves the caption alone; it never ends the program. A caption it writes starts with a year of
// four digits and a "/", and its seconds are not negative.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "vision/ClockCaption.h"

namespace {

[[noreturn]] void Fault(const char* what) {
  std::fprintf(stderr, "fuzz_clock: %s\n", what);
  std::abort();
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ombrevale;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto reading = ReadClock(text);  // a FatalError escaping here is a finding
  if (!reading) return 0;
  const std::string& caption = reading->caption;
  if (caption.size() < 5 || caption[4] != '/') Fault("a caption without a four-digit year");
  for (int i = 0; i < 4; ++i)
    if (!IsDigit(caption[i])) Fault("a year that is not four digits");
  if (reading->second < 0) Fault("negative seconds");
  if (caption.size() > text.size() + 16) Fault("a caption far longer than its text");
  return 0;
}
