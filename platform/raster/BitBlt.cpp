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
  for (int r = 0; r < rows; ++r) {
    CombineRow(dst.Row(static_cast<int>(dy) + r) + dx, src.Row(static_cast<int>(srcY) + r) + srcX,
               n, rop);
  }
  return true;
}

}  // namespace ombrevale
