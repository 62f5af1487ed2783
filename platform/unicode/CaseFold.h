#pragma once

namespace ombrevale {

// Letters taken without regard to case, the same way for every caller (matching a delimiter in a
// text, the menu's access keys) and whatever the user's locale: each letter is replaced by its
// simple upper case, the one character that Unicode gives as its upper-case form.

// The simple upper case of the character `code`: "é" gives "É", "ж" "Ж", "ς" and "σ" both "Σ",
// "ı" "I". A character without an upper case, or whose upper case is longer than one character
// ("ß", whose upper case is "SS"), comes back as it is. ASCII letters cost a comparison; others
// take the system's own tables: on Windows its invariant locale, elsewhere the C library's (the
// C.UTF-8 locale), opened once for the process; should those be missing only ASCII letters are
// folded. Safe from any thread.
char32_t UpperCase(char32_t code);

// The lower case of an ASCII letter, and any other byte as it is: for the machine words of the
// program's texts (command keywords and aliases, font family names), which fold only ASCII so
// that a letter beyond it never matches a keyword by chance.
inline constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace ombrevale
