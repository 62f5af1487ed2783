// Uncompressed 24-bit pixels decoded straight from a file's bytes: the colours, the rows' order
// either way they are stored, the padding of odd widths.

#include "platform/bitmap/Rgb24Rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/platform/bitmap/Rgb24Bitmap.h"

namespace ombrevale {
namespace {

TEST(Rgb24Rows, DecodesEveryColourInPlaceWhicheverWayTheRowsAreStored) {
  // Three pixels a row: 9 bytes and 3 of padding. Black among the colours, left unwritten.
  const std::vector<std::vector<Pixel>> pixels = {{Rgb(255, 0, 0), Rgb(0, 0, 0), Rgb(1, 2, 3)},
                                                  {Rgb(0, 255, 0), Rgb(0, 0, 255), Rgb(0, 0, 0)}};
  for (const bool topDown : {false, true}) {
    const std::vector<uint8_t> file = Rgb24Bitmap(pixels, topDown);
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
