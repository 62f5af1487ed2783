// A decoded picture written over fresh black: its pixels are the decoder's, and the pages that
// hold nothing but black are never written, so they cost no memory.

#include "platform/bitmap/RowOverBlack.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/bitmap/Rgb24Rows.h"
#include "tests/platform/bitmap/ResidentPages.h"
#include "tests/platform/bitmap/Rgb24Bitmap.h"

namespace ombrevale {
namespace {

// A 400 x 300 picture whose ink is a 100 x 40 block in its upper left, and a few pixels of the
// last row; the rest black.
std::vector<std::vector<Pixel>> InkInTheCorner() {
  std::vector<std::vector<Pixel>> rows(300, std::vector<Pixel>(400, 0));
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x) rows[y][x] = Rgb(x, y, 200);
  rows[299][399] = rows[299][0] = Rgb(1, 1, 1);
  return rows;
}

TEST(RowOverBlack, APicturesBlackIsNeverWrittenAndCostsNoMemory) {
  const std::vector<std::vector<Pixel>> ink = InkInTheCorner();
  Surface written(400, 300);
  for (int y = 0; y < 300; ++y) WriteRowOverBlack(written.Row(y), ink[y].data(), 400);
  const std::vector<uint8_t> file = Rgb24Bitmap(ink, false);
  const CheckedBitmap checked = CheckBitmapHeader(file, file.size());
  ASSERT_TRUE(checked.format) << checked.refusal;
  const Surface decoded = DecodeRgb24(*checked.format, file);
  const std::vector<const Surface*> pictures = {&written, &decoded};

#if defined(__linux__)
  // Counted before anything reads the pixels, which maps the black pages too. 40 rows of 1600 bytes
  // lie on 16 pages, the last row on one or two; the 100 or so pages between them stay the
  // system's.
  EXPECT_EQ(ResidentPages(Surface(400, 300)), 0u);
  for (const Surface* picture : pictures) {
    EXPECT_GE(ResidentPages(*picture), 17u);
    EXPECT_LE(ResidentPages(*picture), 20u);
  }
#endif

  for (const Surface* picture : pictures)
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 400; ++x) ASSERT_EQ(picture->At(x, y), ink[y][x]) << x << ", " << y;
}

}  // namespace
}  // namespace ombrevale
