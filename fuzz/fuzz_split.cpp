// Feeds arbitrary text and delimiters to the splitting operations. The first byte gives the
// delimiter's length in bytes (0 to 7), the delimiter follows, the rest is the text. Besides
// crashes and sanitizer reports, a fault is a split that contradicts itself (a count unlike the
// pieces, a place outside 1..n written, a piece that holds the delimiter, pieces and delimiters
// that do not add up to the text in characters) or one that differs from a plain reference: the
// text and the delimiter read character by character, each letter folded to its upper case, and
// cut by the steps of the rule with positions counted in characters.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/unicode/CaseFold.h"
#include "platform/FatalError.h"
#include "platform/unicode/Utf8.h"
#include "text/Strings.h"

namespace {

[[noreturn]] void Fault(const char* what) {
  std::fprintf(stderr, "fuzz_split: %s\n", what);
  std::abort();
}

constexpr size_t kRoom = 64;  // places 1 .. 63 for pieces
const std::string kUntouched = "\x01untouched";

// A text as the reference sees it: for each character, what matching compares (its upper case,
// or its lone byte marked as broken) and the byte where it starts.
struct RefChar {
  uint64_t key;
  size_t at;
};

std::vector<RefChar> RefRead(const std::string& text) {
  std::vector<RefChar> chars;
  for (size_t i = 0; i < text.size();) {
    const ombrevale::Utf8Char c = ombrevale::DecodeFirst(std::string_view(text).substr(i));
    chars.push_back({c.broken ? (uint64_t{1} << 32 | c.code) : ombrevale::UpperCase(c.code), i});
    i += c.length;
  }
  return chars;
}

// What the reference cuts: the pieces, the text before the first match and the matches counted
// from left to right without overlapping.
struct RefResult {
  std::vector<std::string> pieces;
  std::string before;
  int matches = 0;
};

RefResult RefSplit(const std::string& text, const std::string& delimiter) {
  const std::vector<RefChar> t = RefRead(text), d = RefRead(delimiter);
  const auto byteAt = [&](size_t k) { return k < t.size() ? t[k].at : text.size(); };
  const auto matchesAt = [&](size_t i) {
    if (d.empty() || i + d.size() > t.size()) return false;
    for (size_t k = 0; k < d.size(); ++k)
      if (t[i + k].key != d[k].key) return false;
    return true;
  };
  RefResult r;
  r.before = d.empty() ? std::string() : text;
  for (size_t i = 0; i < t.size(); ++i) {
    if (matchesAt(i)) {
      r.before = text.substr(0, byteAt(i));
      break;
    }
  }
  for (size_t i = 0; i < t.size();) {
    if (matchesAt(i)) {
      ++r.matches;
      i += d.size();
    } else {
      ++i;
    }
  }
  size_t rest = 0;  // in characters
  while (rest < t.size()) {
    size_t at = rest;
    while (at < t.size() && !matchesAt(at)) ++at;
    r.pieces.push_back(text.substr(byteAt(rest), byteAt(at) - byteAt(rest)));
    rest = at + d.size();
  }
  return r;
}

size_t Characters(const std::string& text) {
  return RefRead(text).size();
}

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

  size_t total = 0;  // characters in the pieces
  for (int16_t i = 1; i <= count; ++i) {
    total += Characters(parts[i]);
    if (!delimiter.empty() && TextBefore(parts[i], delimiter) != parts[i])
      Fault("a piece holds the delimiter");
  }
  if (count >= 1 && parts[1] != TextBefore(text, delimiter) && !delimiter.empty())
    Fault("the first piece is not the text before the first delimiter");

  int16_t delimiters = 0;
  CountDelimiter(text, delimiter, delimiters);
  if (total + static_cast<size_t>(delimiters) * Characters(delimiter) != Characters(text))
    Fault("pieces and delimiters do not add up to the text");
  if (count > 0 && delimiters != count && delimiters != count - 1)
    Fault("a count of delimiters unlike the pieces they ended");
  if (count == 0 && (!text.empty() || delimiters != 0)) Fault("no piece from a text");

  const RefResult ref = RefSplit(text, delimiter);
  if (!std::equal(parts.begin() + 1, parts.begin() + 1 + count, ref.pieces.begin(),
                  ref.pieces.end()))
    Fault("pieces unlike the reference's");
  if (TextBefore(text, delimiter) != ref.before) Fault("a text before unlike the reference's");
  if (delimiters != ref.matches) Fault("a count of delimiters unlike the reference's");
  return 0;
}
