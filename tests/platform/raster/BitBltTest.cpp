#include <gtest/gtest.h>

#include "platform/raster/BitBlt.h"

namespace ombrevale {
namespace {

// A surface whose every pixel tells its place, so a misplaced pixel shows.
Surface Numbered(int w, int h, Pixel base) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.Set(x, y, base + static_cast<Pixel>(y * 256 + x));
  return s;
}

// Reference blit, pixel by pixel, with its own clipping.
void ReferenceBlit(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                   uint32_t rop) {
  const Surface before = src;
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c) {
      const int dx = x + c, dy = y + r, qx = sx + c, qy = sy + r;
      if (dx < 0 || dy < 0 || dx >= dst.Width() || dy >= dst.Height()) continue;
      if (qx < 0 || qy < 0 || qx >= before.Width() || qy >= before.Height()) continue;
      const Pixel s = before.At(qx, qy), d = dst.At(dx, dy);
      dst.Set(dx, dy,
              rop == SRCCOPY    ? s
              : rop == SRCPAINT ? (s | d)
              : rop == SRCAND   ? (s & d)
                                : (s ^ d));
    }
}

TEST(BitBlt, EachRasterOperationCombinesPerPixel) {
  Surface src(2, 1), dst(2, 1);
  src.Set(0, 0, 0x00F0F000);
  src.Set(1, 0, 0x000000FF);
  const struct {
    uint32_t rop;
    Pixel p0, p1;
  } cases[] = {{SRCCOPY, 0x00F0F000, 0x000000FF},
               {SRCPAINT, 0x00FFF00F, 0x00FF00FF},
               {SRCAND, 0x00F00000, 0x0000000F},
               {SRCINVERT, 0x000FF00F, 0x00FF00F0}};
  for (const auto& c : cases) {
    dst.Set(0, 0, 0x00FF000F);
    dst.Set(1, 0, 0x00FF000F);
    EXPECT_TRUE(BitBlt(dst, 0, 0, 2, 1, src, 0, 0, c.rop));
    EXPECT_EQ(dst.At(0, 0), c.p0) << std::hex << c.rop;
    EXPECT_EQ(dst.At(1, 0), c.p1) << std::hex << c.rop;
  }
}

TEST(BitBlt, UnknownOperationOrEmptyRectangleDrawsNothing) {
  Surface src(4, 4, 0x00FFFFFF), dst = Numbered(4, 4, 0);
  const Surface before = dst;
  EXPECT_FALSE(BitBlt(dst, 0, 0, 4, 4, src, 0, 0, 0x00AA0029));
  EXPECT_FALSE(BitBlt(dst, 0, 0, 0, 4, src, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(dst, 0, 0, 4, -1, src, 0, 0, SRCCOPY));
  EXPECT_EQ(dst, before);
}

TEST(BitBlt, EmptySourceChangesNothing) {
  Surface dst = Numbered(8, 8, 0);
  const Surface before = dst;
  for (uint32_t rop : {SRCCOPY, SRCPAINT, SRCAND, SRCINVERT})
    BitBlt(dst, 0, 0, 400, 300, Surface(), 0, 0, rop);
  EXPECT_EQ(dst, before);
}

// Every edge, both surfaces: destination and source rectangles hanging off each side, and
// rectangles wholly outside. Nothing outside the rectangle may change.
TEST(BitBlt, ClipsAgainstBothSurfacesAtEveryEdge) {
  const Surface src = Numbered(7, 5, 0x00100000);
  const int offsets[] = {-9, -3, -1, 0, 1, 2, 4, 6, 8};
  for (uint32_t rop : {SRCCOPY, SRCPAINT, SRCAND, SRCINVERT})
    for (int x : offsets)
      for (int y : offsets)
        for (int sx : {-2, 0, 3, 7})
          for (int sy : {-1, 0, 2, 5}) {
            Surface got = Numbered(6, 6, 0x00200000), want = got;
            BitBlt(got, x, y, 5, 4, src, sx, sy, rop);
            ReferenceBlit(want, x, y, 5, 4, src, sx, sy, rop);
            ASSERT_EQ(got, want) << "rop " << std::hex << rop << std::dec << " at " << x << "," << y
                                 << " from " << sx << "," << sy;
          }
}

TEST(BitBlt, HugeCoordinatesDoNotOverflow) {
  Surface src(4, 4, 1), dst(4, 4, 0);
  const Surface before = dst;
  BitBlt(dst, 2147483600, 0, 2147483647, 4, src, 0, 0, SRCCOPY);
  BitBlt(dst, -2147483647, -2147483647, 2147483647, 2147483647, src, 0, 0, SRCCOPY);
  EXPECT_EQ(dst, before);
  BitBlt(dst, 0, 0, 2147483647, 2147483647, src, -2147483647, 0, SRCCOPY);
  EXPECT_EQ(dst, before);
}

TEST(BitBlt, WithinOneSurfaceReadsTheRectangleAsItWas) {
  for (uint32_t rop : {SRCCOPY, SRCINVERT})
    for (int dx : {-2, 0, 2})
      for (int dy : {-1, 0, 1}) {
        Surface got = Numbered(9, 7, 0x00010000);
        Surface want = got;
        const Surface copy = got;
        BitBlt(got, 2 + dx, 2 + dy, 5, 4, got, 2, 2, rop);
        ReferenceBlit(want, 2 + dx, 2 + dy, 5, 4, copy, 2, 2, rop);
        EXPECT_EQ(got, want) << dx << "," << dy;
      }
}

TEST(BitBlt, JitteredCopyLeavesTheUncoveredStripsAlone) {
  // A 400 x 300 picture displaced by (2, 1): columns 0..1 and row 0 keep what they held.
  Surface canvas(400, 300, 0x00123456);
  const Surface black(400, 300, 0);
  BitBlt(canvas, 2, 1, 400, 300, black, 0, 0, SRCCOPY);
  EXPECT_EQ(canvas.At(0, 150), 0x00123456u);
  EXPECT_EQ(canvas.At(1, 299), 0x00123456u);
  EXPECT_EQ(canvas.At(399, 0), 0x00123456u);
  EXPECT_EQ(canvas.At(2, 1), 0u);
  EXPECT_EQ(canvas.At(399, 299), 0u);
}

}  // namespace
}  // namespace ombrevale
