#pragma once

#include <cstdint>
#include <string_view>

namespace ombrevale {

// Reading UTF-8 text one character at a time, the same way wherever the system counts or compares
// characters.

// The character at the start of a text.
struct Utf8Char {
  char32_t code = 0;    // its Unicode code point; the byte itself when the character is broken
  uint8_t length = 0;   // bytes it takes: 1 to 4, and 0 only for the empty text
  bool broken = false;  // the first byte does not start a valid sequence and stands alone
};

// Decodes the character that starts `text`. Only the shortest encoding of a code point up to
// U+10FFFF that is not a surrogate is valid; anything else (a stray continuation byte, a sequence
// cut short or overlong, an encoded surrogate) is a broken character of one byte, so that decoding
// can resume at the next byte.
Utf8Char DecodeFirst(std::string_view text);

}  // namespace ombrevale
