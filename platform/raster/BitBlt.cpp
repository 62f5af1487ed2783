// The blitter: clips a transfer once, then hands the rows to the loops of its raster operation.

#include "platform/raster/BitBlt.h"

#include <cstring>

#include "platform/raster/InkRows.h"
#include "platform/raster/RasterRows.h"

namespace ombrevale {

namespace {

bool KnownRop(uint32_t rop) {
  return rop == SRCCOPY || rop == SRCPAINT || rop == SRCAND || rop == SRCINVERT;
}

}  // namespace

bool BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
            uint32_t rop) {
  if (!KnownRop(rop) || w <= 0 || h <= 0) return false;

  // Clip once: each rectangle to its own surface, then both in the rectangle's own coordinates
  // (0, 0 at its corner), where they meet in what is transferred.
  const Rect local = Rect{sx, sy, w, h}
                         .Intersect(src.Bounds())
                         .Offset(-int64_t{sx}, -int64_t{sy})
                         .Intersect(Rect{x, y, w, h}.Intersect(dst.Bounds()).Offset(
                             -int64_t{x}, -int64_t{y}));
  if (local.Empty()) return true;  // nothing of the rectangle lies on both surfaces
  // Inside both surfaces, so every corner fits an int.
  const long long dx = int64_t{x} + local.x, dy = int64_t{y} + local.y;
  const long long srcX = int64_t{sx} + local.x, srcY = int64_t{sy} + local.y;
  const int n = local.w;
  const int rows = local.h;
  if (&dst == &src) {
    // A blit within one surface reads the rectangle as it was before the blit.
    Surface copy(n, rows);
    for (int r = 0; r < rows; ++r) {
      std::memcpy(copy.Row(r), src.Row(static_cast<int>(srcY) + r) + srcX, n * sizeof(Pixel));
    }
    return BitBlt(dst, static_cast<int>(dx), static_cast<int>(dy), n, rows, copy, 0, 0, rop);
  }
  if (const InkNote* ink = src.Ink()) {
    CombineInkedRows(dst.Row(static_cast<int>(dy)) + dx, static_cast<size_t>(dst.Width()),
                     src.Row(static_cast<int>(srcY)) + srcX, static_cast<size_t>(src.Width()),
                     static_cast<size_t>(n), static_cast<size_t>(rows), *ink,
                     static_cast<size_t>(srcY), static_cast<size_t>(srcX), rop);
    return true;
  }
  // Rows that span both surfaces whole follow one another: a whole-width copy is one memcpy.
  CombineRows(dst.Row(static_cast<int>(dy)) + dx, static_cast<size_t>(dst.Width()),
              src.Row(static_cast<int>(srcY)) + srcX, static_cast<size_t>(src.Width()),
              static_cast<size_t>(n), static_cast<size_t>(rows), rop);
  return true;
}

}  // namespace ombrevale
