#pragma once

// The program's texts are UTF-8; the wide Win32 calls take UTF-16. These convert between them.

#include <string>
#include <string_view>

namespace ombrevale {

// UTF-16 of a UTF-8 text; a broken byte becomes U+FFFD, as the system converts it.
std::wstring Widen(std::string_view text);
// UTF-8 of a UTF-16 text.
std::string Narrow(std::wstring_view text);

}  // namespace ombrevale
