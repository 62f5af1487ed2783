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

void Surface::FillRect(int x, int y, int w, int h, Pixel p) {
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min<long long>(static_cast<long long>(x) + w, width_);
  const int y1 = std::min<long long>(static_cast<long long>(y) + h, height_);
  for (int row = y0; row < y1; ++row) std::fill(Row(row) + x0, Row(row) + x1, p);
}

}  // namespace ombrevale
