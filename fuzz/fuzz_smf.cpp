// Feeds arbitrary bytes to the Standard MIDI File reader that measures a piece before the music
// channel opens it. Besides crashes and sanitizer reports, a fault is an answer that contradicts
// itself: a refusal without a reason, a reason with a success, or a length that is not a finite
// time between zero and the longest piece allowed.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "platform/midi/Smf.h"

namespace {

[[noreturn]] void Fault(const char* what) {
  std::fprintf(stderr, "fuzz_smf: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ombrevale;
  const SmfInfo info = ReadSmf(std::span<const uint8_t>(data, size));
  if (!info.ok) {
    if (info.error.empty()) Fault("a refusal without a reason");
    return 0;
  }
  if (!info.error.empty()) Fault("a reason given with a success");
  if (info.format > 2) Fault("a format that is not 0, 1 or 2");
  if (info.tracks == 0 || info.tracks > kSmfMaxTracks) Fault("a track count out of range");
  if (!std::isfinite(info.seconds) || info.seconds < 0 || info.seconds > kSmfMaxSeconds) {
    Fault("a length out of range");
  }
  // The channel keeps the length in whole milliseconds.
  const auto ms = static_cast<int64_t>(std::ceil(info.seconds * 1000.0));
  if (ms < 0) Fault("a negative length in milliseconds");
  return 0;
}
