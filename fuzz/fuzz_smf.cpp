// Feeds arbitrary bytes to the Standard MIDI File reader that measures a piece before the music
// channel opens it, and to the writer of the plain file every driver plays. Besides crashes and
// sanitizer reports, a fault is an answer that contradicts itself: a refusal without a reason, a
// reason with a success, a length that is not a finite time between zero and the longest piece
// allowed, or a plain file that the reader refuses, reads otherwise (another length or tempo map)
// or that the writer would write otherwise again.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "platform/midi/PlainSmf.h"
#include "platform/midi/Smf.h"

namespace {

[[noreturn]] void Fault(const char* what) {
  std::fprintf(stderr, "fuzz_smf: %s\n", what);
  std::abort();
}

bool SameMap(const ombrevale::TempoMap& a, const ombrevale::TempoMap& b) {
  if (a.ticksPerQuarter != b.ticksPerQuarter || a.changes.size() != b.changes.size()) return false;
  for (size_t i = 0; i < a.changes.size(); ++i) {
    if (a.changes[i].tick != b.changes[i].tick ||
        a.changes[i].usPerQuarter != b.changes[i].usPerQuarter)
      return false;
  }
  return true;
}

// The plain file of an accepted piece: read alike, and written again as it is.
void CheckPlain(std::span<const uint8_t> bytes, const ombrevale::SmfInfo& info) {
  using namespace ombrevale;
  const PlainSmf plain = WritePlainSmf(bytes);
  if (!plain.info.ok) Fault("a file the reader accepts and the writer refuses");
  const SmfInfo again = ReadSmf(plain.bytes);
  if (!again.ok) Fault("a plain file the reader refuses");
  if (again.seconds != info.seconds) Fault("a plain file of another length");
  if (!SameMap(again.tempo, info.tempo)) Fault("a plain file of another tempo map");
  if (WritePlainSmf(plain.bytes).bytes != plain.bytes) Fault("a plain file written otherwise");
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
  CheckPlain(std::span<const uint8_t>(data, size), info);
  return 0;
}
