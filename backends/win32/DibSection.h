#pragma once

// A picture of the system's own that the program writes into directly and GDI draws on and copies
// from: 32 bits a pixel, rows top-down, blue in the lowest byte, the layout of a Surface.

#include <cstddef>

#include "backends/win32/WindowsApi.h"
#include "platform/Surface.h"

namespace ombrevale {

class DibSection {
 public:
  DibSection() = default;
  // A picture of `width` x `height`, its pixels as the system leaves them (black); Made() says
  // whether the system could make it.
  DibSection(int width, int height);
  ~DibSection();
  DibSection(DibSection&& other) noexcept;
  DibSection& operator=(DibSection&& other) noexcept;
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;

  bool Made() const { return pixels_ != nullptr; }
  HBITMAP Bitmap() const { return bitmap_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The bytes from one row to the next.
  size_t Pitch() const { return static_cast<size_t>(width_) * sizeof(Pixel); }
  Pixel* Row(int y) const { return pixels_ + static_cast<size_t>(y) * width_; }

 private:
  HBITMAP bitmap_ = nullptr;
  Pixel* pixels_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace ombrevale
