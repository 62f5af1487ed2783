// Feeds arbitrary text and delimiters to the splitting operations. The first byte gives the
// delimiter's length in bytes (0 to 7), the delimiter follows, the rest is the text. Besides
// crashes and sanitizer reports, a fault is a split that contradicts itself: a count unlike the
// pieces, a place outside 1..n written, a piece that holds the delimiter, pieces and delimiters
// that do not add up to the text, a count of delimiters unlike the pieces they ended.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/FatalError.h"
#include "text/Strings.h"

namespace {

[[noreturn]] void Fault(const char* what) {
  std::fprintf(stderr, "fuzz_split: %s\n", what);
  std::abort();
}

constexpr size_t kRoom = 64;  // places 1 .. 63 for pieces
const std::string kUntouched = "\x01untouched";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ombrevale;
  if (size == 0) return 0;
  const size_t delimiterLength = std::min<size_t>(data[0] & 7, size - 1);
  const std::string delimiter(reinterpret_cast<const char*>(data + 1), delimiterLength);
  const std::string text(reinterpret_cast<const char*>(data + 1 + delimiterLength),
                         size - 1 - delimiterLength);

  const size_t pieces = CountPieces(text, delimiter);
  std::vector<std::string> parts(kRoom, kUntouched);
  int16_t count = -1;
  try {
    SplitText(text, parts, delimiter, count);
  } catch (const FatalError&) {
    if (pieces < kRoom) Fault("a split refused although the pieces had room");
    if (parts[0] != kUntouched) Fault("place 0 written");
    return 0;
  }
  if (pieces >= kRoom) Fault("more pieces stored than the array has room for");
  if (count < 0 || static_cast<size_t>(count) != pieces) Fault("a count unlike the pieces");
  if (parts[0] != kUntouched) Fault("place 0 written");
  for (size_t i = static_cast<size_t>(count) + 1; i < kRoom; ++i)
    if (parts[i] != kUntouched) Fault("a place above the count written");

  size_t total = 0;
  for (int16_t i = 1; i <= count; ++i) {
    total += parts[i].size();
    if (!delimiter.empty() && TextBefore(parts[i], delimiter) != parts[i])
      Fault("a piece holds the delimiter");
  }
  if (count >= 1 && parts[1] != TextBefore(text, delimiter) && !delimiter.empty())
    Fault("the first piece is not the text before the first delimiter");

  int16_t delimiters = 0;
  CountDelimiter(text, delimiter, delimiters);
  if (total + static_cast<size_t>(delimiters) * delimiter.size() != text.size())
    Fault("pieces and delimiters do not add up to the text");
  if (count > 0 && delimiters != count && delimiters != count - 1)
    Fault("a count of delimiters unlike the pieces they ended");
  if (count == 0 && (!text.empty() || delimiters != 0)) Fault("no piece from a text");
  return 0;
}
