#include "backends/win32/DibSection.h"

#include <utility>

namespace ombrevale {

DibSection::DibSection(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top-down, as a Surface holds them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ == nullptr || bits == nullptr) return;
  pixels_ = static_cast<Pixel*>(bits);
  width_ = width;
  height_ = height;
}

DibSection::~DibSection() {
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

DibSection::DibSection(DibSection&& other) noexcept
    : bitmap_(std::exchange(other.bitmap_, nullptr)),
      pixels_(std::exchange(other.pixels_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

DibSection& DibSection::operator=(DibSection&& other) noexcept {
  std::swap(bitmap_, other.bitmap_);
  std::swap(pixels_, other.pixels_);
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  return *this;
}

}  // namespace ombrevale
