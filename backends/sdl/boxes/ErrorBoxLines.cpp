#include "backends/sdl/boxes/ErrorBoxLines.h"

#include <algorithm>
#include <vector>

namespace ombrevale {
namespace {

// The characters of a UTF-8 text: a continuation byte does not start one.
size_t Characters(std::string_view text) {
  size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

// The byte where the first `columns` characters of `text` end.
size_t BytesOf(std::string_view text, size_t columns) {
  size_t at = 0;
  for (size_t seen = 0; at < text.size(); ++at) {
    if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80 && seen++ == columns) break;
  }
  return at;
}

// A word too long for a line, in pieces that fit: each ends after its last "/" where it has one.
std::vector<std::string_view> Pieces(std::string_view word, size_t columns) {
  std::vector<std::string_view> pieces;
  while (Characters(word) > columns) {
    size_t cut = BytesOf(word, columns);
    const size_t slash = word.substr(0, cut).rfind('/');
    if (slash != std::string_view::npos && slash > 0) cut = slash + 1;
    pieces.push_back(word.substr(0, cut));
    word.remove_prefix(cut);
  }
  pieces.push_back(word);
  return pieces;
}

// One line of the text (no line break in it), filled word by word; a word too long for a line
// starts a line of its own and goes on over as many as it takes.
void Fill(std::string_view line, size_t columns, std::string& out) {
  size_t used = 0;
  size_t start = 0;
  while (start < line.size()) {
    const size_t space = std::min(line.find(' ', start), line.size());
    const std::string_view word = line.substr(start, space - start);
    start = space + 1;
    if (word.empty()) continue;
    const size_t length = Characters(word);
    if (used > 0 && used + 1 + length <= columns) {
      out += ' ';
      out += word;
      used += 1 + length;
      continue;
    }
    if (used > 0) out += '\n';
    const std::vector<std::string_view> pieces = Pieces(word, columns);
    for (size_t i = 0; i < pieces.size(); ++i) out += (i > 0 ? "\n" : "") + std::string(pieces[i]);
    used = Characters(pieces.back());
  }
}

}  // namespace

std::string ErrorBoxLines(std::string_view text, size_t columns) {
  columns = std::max<size_t>(columns, 1);
  std::string out;
  size_t start = 0;
  while (true) {
    const size_t end = text.find('\n', start);
    Fill(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start),
         columns, out);
    if (end == std::string_view::npos) return out;
    out += '\n';
    start = end + 1;
  }
}

}  // namespace ombrevale
