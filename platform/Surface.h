#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Rect.h"

namespace ombrevale {

// A pixel is 0x00RRGGBB; the top byte is unused and stays 0 under every raster operation.
using Pixel = uint32_t;

inline constexpr Pixel Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return (Pixel{r} << 16) | (Pixel{g} << 8) | Pixel{b};
}

// A persistent 32-bit picture: what a picture control holds behind its device context. A
// default-constructed surface holds no picture (0 x 0); blits from it change nothing.
class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, Pixel fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // The whole picture, at (0, 0): what every drawing on it is clipped to.
  Rect Bounds() const { return {0, 0, width_, height_}; }

  Pixel* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const Pixel* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  Pixel At(int x, int y) const { return Row(y)[x]; }
  void Set(int x, int y, Pixel p) { Row(y)[x] = p; }
  void Fill(Pixel p);
  void FillRect(const Rect& area, Pixel p);  // clipped to the picture

  const std::vector<Pixel>& Pixels() const { return pixels_; }
  bool operator==(const Surface&) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

}  // namespace ombrevale
