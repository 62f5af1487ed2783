#include "platform/raster/RasterRows.h"

#include <gtest/gtest.h>

#include "platform/raster/BitBlt.h"

namespace ombrevale {
namespace {

// Pixels no two of which are alike, from a seed.
Surface Speckled(int w, int h, uint32_t seed) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      seed ^= seed << 13;
      seed ^= seed >> 17;
      seed ^= seed << 5;
      s.Set(x, y, seed & 0x00FFFFFF);
    }
  return s;
}

Pixel Combined(Pixel d, Pixel s, uint32_t rop) {
  return rop == SRCCOPY ? s : rop == SRCPAINT ? (d | s) : rop == SRCAND ? (d & s) : (d ^ s);
}

// Every operation, on blocks whose rows follow one another in memory (one long row) and on rows
// apart, at widths that end on and off a whole vector: each pixel of the block combined, each
// pixel around it untouched.
TEST(RasterRows, EveryOperationOnBlocksOfAnyShapeMatchesPixelByPixel) {
  const struct {
    int dstW, srcW, x, width, rows;
  } shapes[] = {{400, 400, 0, 400, 300},  // the whole canvas: one long row
                {67, 67, 0, 67, 5},       // one long row that ends off a vector
                {400, 400, 1, 399, 7},    // rows apart on both sides
                {403, 400, 3, 400, 9},    // the source whole, the destination wider
                {31, 64, 2, 17, 3},       // short rows, a wider source
                {16, 16, 0, 16, 1}};
  for (const uint32_t rop : {SRCCOPY, SRCPAINT, SRCAND, SRCINVERT}) {
    for (const auto& shape : shapes) {
      const Surface src = Speckled(shape.srcW, shape.rows + 2, 7);
      Surface dst = Speckled(shape.dstW, shape.rows + 2, 11);
      const Surface before = dst;
      // From row 1 of the source to row 1 of the destination, starting at column x there.
      CombineRows(dst.Row(1) + shape.x, static_cast<size_t>(shape.dstW), src.Row(1),
                  static_cast<size_t>(shape.srcW), static_cast<size_t>(shape.width),
                  static_cast<size_t>(shape.rows), rop);
      for (int y = 0; y < dst.Height(); ++y)
        for (int x = 0; x < dst.Width(); ++x) {
          const bool inside =
              y >= 1 && y <= shape.rows && x >= shape.x && x < shape.x + shape.width;
          const Pixel want =
              inside ? Combined(before.At(x, y), src.At(x - shape.x, y), rop) : before.At(x, y);
          ASSERT_EQ(dst.At(x, y), want) << std::hex << "rop " << rop << std::dec << ", "
                                        << shape.dstW << " wide, at (" << x << ", " << y << ")";
        }
    }
  }
}

}  // namespace
}  // namespace ombrevale
