#include "backends/sdl/access/atk/AccessText.h"

#include <vector>

#include "platform/unicode/Utf8.h"

namespace ombrevale {
namespace {

// The characters' code points, in order.
std::vector<char32_t> Decode(std::string_view text) {
  std::vector<char32_t> codes;
  while (!text.empty()) {
    const Utf8Char c = DecodeFirst(text);
    codes.push_back(c.code);
    text.remove_prefix(c.length);
  }
  return codes;
}

// Where the character at `offset` starts, in bytes; the text's size past its end.
size_t ByteOffset(std::string_view text, int offset) {
  size_t at = 0;
  for (int i = 0; i < offset && at < text.size(); ++i) at += DecodeFirst(text.substr(at)).length;
  return at;
}

bool Blank(char32_t c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

int CountCharacters(std::string_view text) {
  return static_cast<int>(Decode(text).size());
}

std::string SliceCharacters(std::string_view text, int start, int end) {
  const int count = CountCharacters(text);
  if (end < 0 || end > count) end = count;
  if (start < 0) start = 0;
  if (start >= end) return {};
  const size_t from = ByteOffset(text, start), to = ByteOffset(text, end);
  return std::string(text.substr(from, to - from));
}

char32_t CharacterAtOffset(std::string_view text, int offset) {
  const std::vector<char32_t> codes = Decode(text);
  if (offset < 0 || static_cast<size_t>(offset) >= codes.size()) return 0;
  return codes[static_cast<size_t>(offset)];
}

TextSpan UnitAround(std::string_view text, int offset, TextUnit unit) {
  const std::vector<char32_t> codes = Decode(text);
  const int count = static_cast<int>(codes.size());
  if (offset < 0) offset = 0;
  if (offset >= count) return {count, count};
  const auto at = [&codes](int i) { return codes[static_cast<size_t>(i)]; };
  int start = offset, end = offset + 1;
  if (unit == TextUnit::Line) {
    while (start > 0 && at(start - 1) != '\n') --start;
    end = offset;
    while (end < count && at(end) != '\n') ++end;
    if (end < count) ++end;  // the line break is the line's
  } else if (unit == TextUnit::Word) {
    // Back over the blanks before the offset, to the word they follow, then to its start.
    while (start > 0 && Blank(at(start))) --start;
    while (start > 0 && !Blank(at(start - 1))) --start;
    end = start;
    while (end < count && !Blank(at(end))) ++end;
    while (end < count && Blank(at(end))) ++end;
  }
  return {start, end};
}

}  // namespace ombrevale
