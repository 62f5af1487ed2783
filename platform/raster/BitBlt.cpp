// The blitter: clips a transfer once, then hands the rows to the loops of its raster operation.

#include "platform/raster/BitBlt.h"

#include <cstring>

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

  // Clip once, in 64-bit so that no coordinate can overflow: first against the source, then
  // against the destination, moving the other rectangle's corner along.
  long long dx = x, dy = y, srcX = sx, srcY = sy, cw = w, ch = h;
  auto clipAxis = [](long long& a, long long& b, long long& len, long long limitA) {
    if (a < 0) {
      b -= a;
      len += a;
      a = 0;
    }
    if (a + len > limitA) len = limitA - a;
  };
  clipAxis(srcX, dx, cw, src.Width());
  clipAxis(srcY, dy, ch, src.Height());
  clipAxis(dx, srcX, cw, dst.Width());
  clipAxis(dy, srcY, ch, dst.Height());
  if (cw <= 0 || ch <= 0) return true;  // nothing of the rectangle lies on both surfaces

  const int n = static_cast<int>(cw);
  const int rows = static_cast<int>(ch);
  if (&dst == &src) {
    // A blit within one surface reads the rectangle as it was before the blit.
    Surface copy(n, rows);
    for (int r = 0; r < rows; ++r) {
      std::memcpy(copy.Row(r), src.Row(static_cast<int>(srcY) + r) + srcX, n * sizeof(Pixel));
    }
    return BitBlt(dst, static_cast<int>(dx), static_cast<int>(dy), n, rows, copy, 0, 0, rop);
  }
  // Rows that span both surfaces whole follow one another: a whole-width copy is one memcpy.
  CombineRows(dst.Row(static_cast<int>(dy)) + dx, static_cast<size_t>(dst.Width()),
              src.Row(static_cast<int>(srcY)) + srcX, static_cast<size_t>(src.Width()),
              static_cast<size_t>(n), static_cast<size_t>(rows), rop);
  return true;
}

}  // namespace ombrevale
