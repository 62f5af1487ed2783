#include "platform/Surface.h"

#include <algorithm>
#include <cstring>

namespace ombrevale {

Surface::Surface(int width, int height, Pixel fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_, fill) {
  if (width_ == 0 || height_ == 0) width_ = height_ = 0;
}

void Surface::Fill(Pixel p) {
  std::fill(pixels_.begin(), pixels_.end(), p);
}

void Surface::FillRect(const Rect& area, Pixel p) {
  const Rect part = area.Intersect(Bounds());
  for (int row = part.y; row < part.Bottom(); ++row)
    std::fill(Row(row) + part.x, Row(row) + part.Right(), p);
}

}  // namespace ombrevale
