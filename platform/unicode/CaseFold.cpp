#include "platform/unicode/CaseFold.h"

#include <locale.h>
#include <wctype.h>

namespace ombrevale {

namespace {

// towupper_l takes the character as a wide character: on the C library we build for, wide
// characters are Unicode code points.
static_assert(sizeof(wchar_t) >= 4, "wide characters must hold every Unicode code point");

bool IsUnicodeCharacter(char32_t code) {
  return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

// The C library's Unicode case tables, opened on first use and kept for the life of the process.
// The C.UTF-8 locale comes with the C library itself and is used through its own handle, so the
// process's locale (which the program never sets) plays no part. Null when it cannot be opened.
locale_t UnicodeTables() {
  static const locale_t tables = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  return tables;
}

}  // namespace

char32_t UpperCase(char32_t code) {
  if (code < 0x80) return (code >= 'a' && code <= 'z') ? code - 'a' + 'A' : code;
  if (!IsUnicodeCharacter(code)) return code;
  const locale_t tables = UnicodeTables();
  if (tables == nullptr) return code;
  const auto upper = static_cast<char32_t>(towupper_l(static_cast<wint_t>(code), tables));
  return IsUnicodeCharacter(upper) ? upper : code;
}

}  // namespace ombrevale
