#include "text/Strings.h"

#include <limits>

#include "platform/FatalError.h"

namespace ombrevale {

namespace {

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The length in bytes of the match of `delimiter` at byte `pos` of `text`, or 0 when the
// characters there differ from the delimiter's. Characters are compared whole, so a broken byte
// of the delimiter never matches the first byte of a longer character.
size_t MatchAt(std::string_view text, size_t pos, std::string_view delimiter) {
  size_t p = pos, q = 0;
  while (q < delimiter.size()) {
    if (p >= text.size()) return 0;  // cut short by the end of the text
    const size_t textChar = FirstCharLength(text.substr(p));
    const size_t delimChar = FirstCharLength(delimiter.substr(q));
    if (textChar != delimChar) return 0;
    for (size_t k = 0; k < textChar; ++k) {
      if (UpperAscii(text[p + k]) != UpperAscii(delimiter[q + k])) return 0;
    }
    p += textChar;
    q += delimChar;
  }
  return p - pos;
}

// The byte position of the first match of `delimiter` at or after `from`, or npos.
size_t FindMatch(std::string_view text, size_t from, std::string_view delimiter) {
  for (size_t i = from; i < text.size(); i += FirstCharLength(text.substr(i))) {
    if (MatchAt(text, i, delimiter) > 0) return i;
  }
  return std::string_view::npos;
}

// Hands each piece of `text` to `piece`, in order: every match of `delimiter` ends a piece, and
// the rest after the last match is the last piece when it is not empty. An empty delimiter never
// matches.
template <class PieceFn>
void ForEachPiece(std::string_view text, std::string_view delimiter, PieceFn&& piece) {
  size_t rest = 0;
  while (rest < text.size()) {
    const size_t at = delimiter.empty() ? std::string_view::npos : FindMatch(text, rest, delimiter);
    if (at == std::string_view::npos) {
      piece(text.substr(rest));
      return;
    }
    piece(text.substr(rest, at - rest));
    rest = at + MatchAt(text, at, delimiter);
  }
}

}  // namespace

size_t FirstCharLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  size_t length = lead < 0x80           ? 1
                  : (lead >> 5) == 0x6  ? 2
                  : (lead >> 4) == 0xE  ? 3
                  : (lead >> 3) == 0x1E ? 4
                                        : 1;
  if (length > text.size()) return 1;
  for (size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

std::string TextBefore(const std::string& text, const std::string& delimiter) {
  if (delimiter.empty()) return {};
  const size_t at = FindMatch(text, 0, delimiter);
  return at == std::string_view::npos ? text : text.substr(0, at);
}

uint8_t CountDelimiter(const std::string& text, const std::string& delimiter, int16_t& count) {
  if (delimiter.empty()) return 0;
  uint8_t found = 0;
  for (size_t i = FindMatch(text, 0, delimiter); i != std::string_view::npos;
       i = FindMatch(text, i + delimiter.size(), delimiter)) {
    if (count == std::numeric_limits<int16_t>::max()) {
      throw FatalError("too many delimiters to count in one text");
    }
    ++count;
    found = 1;
  }
  return found;
}

void SplitText(const std::string& text, std::span<std::string> parts, const std::string& delimiter,
               int16_t& count) {
  int16_t n = 0;
  ForEachPiece(text, delimiter, [&](std::string_view piece) {
    if (n == std::numeric_limits<int16_t>::max() || static_cast<size_t>(n) + 1 >= parts.size()) {
      throw FatalError("subscript out of range: no place for piece " + std::to_string(n + 1) +
                       " of a text");
    }
    parts[++n] = piece;
  });
  count = n;
}

size_t CountPieces(std::string_view text, std::string_view delimiter) {
  size_t pieces = 0;
  ForEachPiece(text, delimiter, [&pieces](std::string_view) { ++pieces; });
  return pieces;
}

}  // namespace ombrevale
