// The blitter: clips a transfer once, then runs one tight loop per row for its raster operation.

#include "platform/raster/BitBlt.h"

#include <cstring>

namespace ombrevale {

namespace {

// The rows of a blit. Each raster operation has its own loop over rows that never overlap, so that
// the compiler turns it into wide vector code for any row width; the function is built once for
// AVX2 and once for any x86-64, and the loader picks what the processor can run (where the
// executable format lets it choose: ELF; elsewhere the one portable build).
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && defined(__ELF__)
#define OMBREVALE_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define OMBREVALE_WIDE_VECTORS
#endif

OMBREVALE_WIDE_VECTORS
void OrRow(Pixel* __restrict dst, const Pixel* __restrict src, int n) {
  for (int i = 0; i < n; ++i) dst[i] |= src[i];
}

OMBREVALE_WIDE_VECTORS
void AndRow(Pixel* __restrict dst, const Pixel* __restrict src, int n) {
  for (int i = 0; i < n; ++i) dst[i] &= src[i];
}

OMBREVALE_WIDE_VECTORS
void XorRow(Pixel* __restrict dst, const Pixel* __restrict src, int n) {
  for (int i = 0; i < n; ++i) dst[i] ^= src[i];
}

void CombineRow(Pixel* dst, const Pixel* src, int n, uint32_t rop) {
  switch (rop) {
    case SRCCOPY:
      std::memcpy(dst, src, static_cast<size_t>(n) * sizeof(Pixel));
      break;
    case SRCPAINT:
      OrRow(dst, src, n);
      break;
    case SRCAND:
      AndRow(dst, src, n);
      break;
    case SRCINVERT:
      XorRow(dst, src, n);
      break;
  }
}

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
  for (int r = 0; r < rows; ++r) {
    CombineRow(dst.Row(static_cast<int>(dy) + r) + dx, src.Row(static_cast<int>(srcY) + r) + srcX,
               n, rop);
  }
  return true;
}

}  // namespace ombrevale
