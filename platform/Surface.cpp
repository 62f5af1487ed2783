#include "platform/Surface.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace ombrevale {

Surface::Surface(int width, int height, Pixel fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {
  if (width_ == 0 || height_ == 0) width_ = height_ = 0;
  const size_t count = static_cast<size_t>(width_) * height_;
  // Black is what fresh pages hold already: left unwritten, it costs no memory until drawn on.
  if (fill == 0) {
    pixels_ = PixelStore(count);
  } else {
    pixels_ = PixelStore(count, fill);
  }
}

void Surface::Fill(Pixel p) {
  ForgetInk();
  std::fill(pixels_.begin(), pixels_.end(), p);
}

void Surface::FillRect(const Rect& area, Pixel p) {
  ForgetInk();
  const Rect part = area.Intersect(Bounds());
  for (int row = part.y; row < part.Bottom(); ++row)
    std::fill(Row(row) + part.x, Row(row) + part.Right(), p);
}

void Surface::NoteInk() {
  // The row is read a piece of 16 pixels (a cache line) at a time, each piece either black or
  // holding ink: a stretch may take in a few black pixels at its ends, which costs nothing.
  constexpr int kPiece = 16;
  InkNote note;
  note.rowStart.reserve(static_cast<size_t>(height_) + 1);
  for (int y = 0; y < height_; ++y) {
    note.rowStart.push_back(static_cast<uint32_t>(note.spans.size()));
    const Pixel* row = pixels_.data() + static_cast<size_t>(y) * width_;
    const size_t rowFirst = note.spans.size();
    for (int x = 0; x < width_; x += kPiece) {
      const int end = std::min(width_, x + kPiece);
      Pixel any = 0;
      for (int i = x; i < end; ++i) any |= row[i];
      if (any == 0) continue;
      if (note.spans.size() > rowFirst && x - note.spans.back().end < InkNote::kInkGap) {
        note.spans.back().end = end;  // across a narrow gap
      } else {
        note.spans.push_back({x, end});
      }
    }
  }
  note.rowStart.push_back(static_cast<uint32_t>(note.spans.size()));
  // A picture that is mostly ink (the noise) is blitted whole: stepping from stretch to stretch
  // would cost more than it saves.
  uint64_t covered = 0;
  for (const InkSpan& span : note.spans) covered += static_cast<uint64_t>(span.end - span.first);
  const uint64_t all = static_cast<uint64_t>(width_) * static_cast<uint64_t>(height_);
  if (height_ > 0 && covered * 4 <= all * 3) ink_ = std::move(note);
}

}  // namespace ombrevale
