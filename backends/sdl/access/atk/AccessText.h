#pragma once

// A text as a screen reader reads it: counted in characters, not bytes, and read a character, a
// word or a line at a time, as it walks through the box's lines or the clock's caption.

#include <string>
#include <string_view>

namespace ombrevale {

int CountCharacters(std::string_view text);
// The characters from `start` up to `end` (a negative `end`: to the end of the text), clamped to
// the text.
std::string SliceCharacters(std::string_view text, int start, int end);
// The character at `offset`, or 0 past the text.
char32_t CharacterAtOffset(std::string_view text, int offset);

enum class TextUnit { Character, Word, Line };
// The unit of the text that holds the character at `offset`, as characters [start, end): a word
// runs to the start of the next one (the blanks after it are its own), a line to just after its
// line break. Past the end, the empty unit there.
struct TextSpan {
  int start = 0, end = 0;
  bool operator==(const TextSpan&) const = default;
};
TextSpan UnitAround(std::string_view text, int offset, TextUnit unit);

}  // namespace ombrevale
