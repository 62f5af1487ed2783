// Uncompressed 24-bit pixels decoded straight from a file's bytes: the colours, the rows' order
// either way they are stored, the padding of odd widths.

#include "platform/bitmap/Rgb24Rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace ombrevale {
namespace {

// A 24-bit bitmap file of `pixels` (rows top to bottom), stored bottom-up unless `topDown`.
std::vector<uint8_t> Bitmap(const std::vector<std::vector<Pixel>>& pixels, bool topDown) {
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

TEST(Rgb24Rows, DecodesEveryColourInPlaceWhicheverWayTheRowsAreStored) {
  // Three pixels a row: 9 bytes and 3 of padding. Black among the colours, left unwritten.
  const std::vector<std::vector<Pixel>> pixels = {{Rgb(255, 0, 0), Rgb(0, 0, 0), Rgb(1, 2, 3)},
                                                  {Rgb(0, 255, 0), Rgb(0, 0, 255), Rgb(0, 0, 0)}};
  for (const bool topDown : {false, true}) {
    const std::vector<uint8_t> file = Bitmap(pixels, topDown);
    const CheckedBitmap checked = CheckBitmapHeader(file, file.size());
    ASSERT_TRUE(checked.format) << checked.refusal;
    ASSERT_TRUE(IsRgb24(*checked.format));
    const Surface picture = DecodeRgb24(*checked.format, file);
    ASSERT_EQ(picture.Width(), 3);
    ASSERT_EQ(picture.Height(), 2);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_EQ(picture.At(x, y), pixels[y][x]) << x << ", " << y << (topDown ? " top-down" : "");
  }
}

}  // namespace
}  // namespace ombrevale
