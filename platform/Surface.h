#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ombrevale {

// Raster operations: how a blit combines source and destination pixels.
inline constexpr uint32_t SRCCOPY = 0xCC0020;    // source
inline constexpr uint32_t SRCPAINT = 0xEE0086;   // source OR destination
inline constexpr uint32_t SRCAND = 0x8800C6;     // source AND destination
inline constexpr uint32_t SRCINVERT = 0x660046;  // source XOR destination

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

  Pixel* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const Pixel* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  Pixel At(int x, int y) const { return Row(y)[x]; }
  void Set(int x, int y, Pixel p) { Row(y)[x] = p; }
  void Fill(Pixel p);
  void FillRect(int x, int y, int w, int h, Pixel p);  // clipped

  const std::vector<Pixel>& Pixels() const { return pixels_; }
  bool operator==(const Surface&) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

// Bit-block transfer: combines the w x h rectangle of `src` at (sx, sy) into `dst` at (x, y)
// with raster operation `rop`. Parts of the rectangle outside either surface are clipped; nothing
// outside the rectangle changes. Returns false (and draws nothing) for an unknown raster operation
// or an empty rectangle. `dst` and `src` may be the same surface, overlapping or not.
bool BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
            uint32_t rop);

}  // namespace ombrevale
