#include "text/Strings.h"

#include <limits>
#include <optional>

#include "platform/unicode/CaseFold.h"
#include "platform/FatalError.h"
#include "platform/unicode/Utf8.h"

namespace ombrevale {

namespace {

// A character as delimiter matching sees it: its simple upper case, or, for a broken byte, the
// byte itself marked as such so that it equals only the same broken byte.
struct FoldedChar {
  char32_t upper;
  bool broken;
  size_t length;  // bytes it takes in its text
};

FoldedChar FoldFirst(std::string_view text) {
  const Utf8Char c = DecodeFirst(text);
  return {c.broken ? c.code : UpperCase(c.code), c.broken, c.length};
}

// The length in bytes of the match of `delimiter` at byte `pos` of `text`, or 0 when the
// characters there differ from the delimiter's. Characters are compared whole after folding, so
// the match may be longer or shorter in bytes than the delimiter.
size_t MatchAt(std::string_view text, size_t pos, std::string_view delimiter) {
  size_t p = pos, q = 0;
  while (q < delimiter.size()) {
    if (p >= text.size()) return 0;  // cut short by the end of the text
    const FoldedChar textChar = FoldFirst(text.substr(p));
    const FoldedChar delimChar = FoldFirst(delimiter.substr(q));
    if (textChar.upper != delimChar.upper || textChar.broken != delimChar.broken) return 0;
    p += textChar.length;
    q += delimChar.length;
  }
  return p - pos;
}

// A match of the delimiter: where it starts in the text and how many bytes it takes there.
struct Match {
  size_t at;
  size_t length;
};

// The first match of `delimiter` at or after byte `from` of `text`, if any. `from` is always the
// start of a character.
std::optional<Match> FindMatch(std::string_view text, size_t from, std::string_view delimiter) {
  for (size_t i = from; i < text.size(); i += FirstCharLength(text.substr(i))) {
    if (const size_t length = MatchAt(text, i, delimiter); length > 0) return Match{i, length};
  }
  return std::nullopt;
}

// Hands each piece of `text` to `piece`, in order: every match of `delimiter` ends a piece, and
// the rest after the last match is the last piece when it is not empty. An empty delimiter never
// matches.
template <class PieceFn>
void ForEachPiece(std::string_view text, std::string_view delimiter, PieceFn&& piece) {
  size_t rest = 0;
  while (rest < text.size()) {
    const auto match = delimiter.empty() ? std::nullopt : FindMatch(text, rest, delimiter);
    if (!match) {
      piece(text.substr(rest));
      return;
    }
    piece(text.substr(rest, match->at - rest));
    rest = match->at + match->length;
  }
}

}  // namespace

size_t FirstCharLength(std::string_view text) {
  return DecodeFirst(text).length;
}

std::string TextBefore(const std::string& text, const std::string& delimiter) {
  if (delimiter.empty()) return {};
  const auto match = FindMatch(text, 0, delimiter);
  return match ? text.substr(0, match->at) : text;
}

uint8_t CountDelimiter(const std::string& text, const std::string& delimiter, int16_t& count) {
  if (delimiter.empty()) return 0;
  uint8_t found = 0;
  // Counting resumes after the match as it stands in the text, which need not take as many bytes
  // as the delimiter.
  for (auto match = FindMatch(text, 0, delimiter); match;
       match = FindMatch(text, match->at + match->length, delimiter)) {
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
