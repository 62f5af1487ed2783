#pragma once

// The bitmap files the tests of 24-bit pictures read: written here, pixel by pixel.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/Surface.h"

namespace ombrevale {

// A 24-bit bitmap file of `pixels` (rows top to bottom), stored bottom-up unless `topDown`.
inline std::vector<uint8_t> Rgb24Bitmap(const std::vector<std::vector<Pixel>>& pixels,
                                        bool topDown) {
  const int height = static_cast<int>(pixels.size());
  const int width = static_cast<int>(pixels[0].size());
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  std::vector<uint8_t> b(54 + stride * height, 0xEE);  // the padding is not zero, to be sure
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  std::fill(b.begin(), b.begin() + 54, 0);
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<uint32_t>(b.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(topDown ? -height : height));
  b[26] = 1;
  b[28] = 24;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = b.data() + 54 + stride * (topDown ? y : height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const Pixel p = pixels[y][x];
      row[3 * x] = p & 0xFF;
      row[3 * x + 1] = (p >> 8) & 0xFF;
      row[3 * x + 2] = (p >> 16) & 0xFF;
    }
  }
  return b;
}

}  // namespace ombrevale
