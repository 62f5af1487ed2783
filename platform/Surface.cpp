#include "platform/Surface.h"

#include <algorithm>
#include <cstring>

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
  ink_.assign(static_cast<size_t>(height_), InkSpan{});
  for (int y = 0; y < height_; ++y) {
    const Pixel* row = pixels_.data() + static_cast<size_t>(y) * width_;
    int first = 0;
    while (first < width_ && row[first] == 0) ++first;
    int end = width_;
    while (end > first && row[end - 1] == 0) --end;
    ink_[y] = {first, end};
  }
}

}  // namespace ombrevale
