#pragma once

// Where a caption or a box's text breaks its lines, said once for every desktop that draws one:
// "\r\n", as the logic writes them, or a lone "\r" or "\n".

#include <string>
#include <string_view>
#include <vector>

namespace ombrevale {

// The lines of `text`, without their breaks. A text without a break is one line, an empty text
// one empty line, and a break at the end leaves an empty last line.
std::vector<std::string_view> SplitLines(std::string_view text);

// `text` with each of its breaks made one "\n", as a text renderer or the page takes it.
std::string WithNewlines(std::string_view text);

}  // namespace ombrevale
