#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace ombrevale {

// Text utilities: cutting a text into numbered pieces at a delimiter.
//
// Texts are UTF-8 and positions count whole characters (a byte that does not start a valid
// sequence counts as one character). A delimiter matches a stretch of the text of as many
// characters when the two are equal once every letter of both is taken in its simple upper case
// ("x" matches "X", "é" "É", "ж" "Ж", "ı" "I"; "ß" stays itself and never matches "SS"), whatever
// the user's locale. Characters are compared whole: a broken byte matches only the same broken
// byte. A match may take a different number of bytes than the delimiter ("I" matches "ı"); the
// pieces are always slices of the original text.

// The characters of `text` before the first match of `delimiter`; the whole text when there is
// none. An empty delimiter matches at once, so the result is then empty.
std::string TextBefore(const std::string& text, const std::string& delimiter);

// Whether `text` holds a match of `delimiter`: 1 if so, else 0. `count` is increased by the number
// of matches, counted from left to right without overlapping, and never reset. An empty delimiter
// matches nothing. A count that would pass 32767 is a fault of the program (FatalError).
uint8_t CountDelimiter(const std::string& text, const std::string& delimiter, int16_t& count);

// Cuts `text` at every match of `delimiter` and stores the pieces at parts[1] .. parts[n]; `count`
// is set to n. parts[0] and every element above n keep what they held. Every match ends a piece:
// "a//b" gives a, "", b; "/a" gives "", a; "a/" gives a alone; the empty text gives no piece. An
// empty delimiter never matches, so a text that is not empty is one piece. A piece that would go
// past the end of `parts` is a fault of the program (FatalError): the caller sizes the array for
// the most pieces it can receive.
void SplitText(const std::string& text, std::span<std::string> parts, const std::string& delimiter,
               int16_t& count);

// How many pieces SplitText would cut `text` into, whatever their number: lets a caller check a
// text from outside against the room it has before it splits.
size_t CountPieces(std::string_view text, std::string_view delimiter);

// The length in bytes of the character at the start of `text`: a whole UTF-8 sequence, or one
// byte where the text is not valid UTF-8 there (a stray, cut short, overlong or surrogate
// sequence). 0 for the empty text.
size_t FirstCharLength(std::string_view text);

}  // namespace ombrevale
