#pragma once

// How the program speaks on stderr, the same on every desktop: as GNU programs do, each line
// begins with the command's name and a colon ("ombrevale: no usable font for ..."), then one
// sentence that starts in lower case.
// - A warning says what is missing and what the program does without it; the program goes on.
// - A fatal error (FatalError) is said once, then shown in the platform's error box where there is
//   a desktop to show it, and the program ends with status 1.
// - A mistake on the command line is said with the usage, and the program ends with status 2.

#include <cstdio>
#include <string>
#include <string_view>

namespace ombrevale {

// The name the program is started by, and the one it signs its complaints with.
inline constexpr std::string_view kCommandName = "ombrevale";

// `text` as it may be shown on a terminal: a control character (a byte below 0x20, DEL, or one of
// UTF-8's C1 controls U+0080 to U+009F) written as \xHH, so that a name or an argument that
// carries one cannot move the cursor, change colours or break the line. Everything else is kept.
inline std::string Printable(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string shown;
  shown.reserve(text.size());
  const auto escape = [&shown](unsigned char byte) {
    shown += "\\x";
    shown += kHex[byte >> 4];
    shown += kHex[byte & 15];
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (byte < 0x20 || byte == 0x7f) {
      escape(byte);
    } else if (byte == 0xc2 && next >= 0x80 && next <= 0x9f) {
      escape(byte);
      escape(next);
      ++i;
    } else {
      shown += static_cast<char>(byte);
    }
  }
  return shown;
}

// The line for `sentence`, as it goes to stderr, without its line break; whatever the sentence
// quotes from outside (an argument, a file name) is shown printable.
inline std::string Complaint(std::string_view sentence) {
  std::string line(kCommandName);
  line += ": ";
  line += Printable(sentence);
  return line;
}

// Writes the line for `sentence` to stderr.
inline void Complain(std::string_view sentence) {
  std::fprintf(stderr, "%s\n", Complaint(sentence).c_str());
}

}  // namespace ombrevale
