#pragma once

// The text of the error box SDL draws for a fatal error, broken into lines: SDL's box is as wide as
// its longest line, and a sentence about a picture deep in the folders would make it wider than
// the screen.

#include <string>
#include <string_view>

namespace ombrevale {

// Lines of SDL's error box: a box of that many characters is narrower than the window itself, and
// so fits any screen the window fits on.
inline constexpr size_t kErrorBoxColumns = 56;

// `text` in lines of at most `columns` characters (UTF-8 counted by character), broken at spaces;
// a word longer than a line (a folder's path) is broken after a "/" where it has one, else where
// the line is full. The text's own line breaks are kept.
std::string ErrorBoxLines(std::string_view text, size_t columns = kErrorBoxColumns);

}  // namespace ombrevale
