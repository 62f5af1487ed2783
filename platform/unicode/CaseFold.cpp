#include "platform/unicode/CaseFold.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <locale.h>
#include <wctype.h>
#endif

namespace ombrevale {

namespace {

bool IsUnicodeCharacter(char32_t code) {
  return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

#if defined(_WIN32)

// Windows keeps its own case tables: the invariant locale's linguistic upper case, which is
// Unicode's simple one ("ς" to "Σ", "ı" to "I", "ſ" to "S"; without the linguistic flag the system
// leaves those three alone). It maps one UTF-16 character (or one surrogate pair) to one, so that
// "ß" stays as it is. Nothing to open first.
char32_t SystemUpperCase(char32_t code) {
  wchar_t text[2];
  int length = 1;
  if (code < 0x10000) {
    text[0] = static_cast<wchar_t>(code);
  } else {
    text[0] = static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
    text[1] = static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    length = 2;
  }
  wchar_t upper[2];
  const int written =
      LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING, text, length,
                    upper, 2, nullptr, nullptr, 0);
  if (written == 1 && length == 1) return upper[0];
  if (written == 2 && length == 2 && upper[0] >= 0xD800 && upper[0] <= 0xDBFF &&
      upper[1] >= 0xDC00 && upper[1] <= 0xDFFF) {
    return 0x10000 + ((static_cast<char32_t>(upper[0]) - 0xD800) << 10) +
           (static_cast<char32_t>(upper[1]) - 0xDC00);
  }
  return code;
}

#else

// towupper_l takes the character as a wide character: on the C library we build for, wide
// characters are Unicode code points.
static_assert(sizeof(wchar_t) >= 4, "wide characters must hold every Unicode code point");

// The C library's Unicode case tables, opened on first use and kept for the life of the process.
// The C.UTF-8 locale comes with the C library itself and is used through its own handle, so the
// process's locale (which the program never sets) plays no part. Null when it cannot be opened.
locale_t UnicodeTables() {
  static const locale_t tables = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  return tables;
}

char32_t SystemUpperCase(char32_t code) {
  const locale_t tables = UnicodeTables();
  if (tables == nullptr) return code;
  return static_cast<char32_t>(towupper_l(static_cast<wint_t>(code), tables));
}

#endif

}  // namespace

char32_t UpperCase(char32_t code) {
  if (code < 0x80) return (code >= 'a' && code <= 'z') ? code - 'a' + 'A' : code;
  if (!IsUnicodeCharacter(code)) return code;
  const char32_t upper = SystemUpperCase(code);
  return IsUnicodeCharacter(upper) ? upper : code;
}

}  // namespace ombrevale
