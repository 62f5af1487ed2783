// The row loops of each raster operation. Each loop runs over rows that never overlap, so that the
// compiler turns it into vector code for any row width; each is built for AVX-512, for AVX2 and
// for any x86-64, and the loader picks the widest the processor can run (where the executable
// format lets it choose: ELF; elsewhere the one portable build).

#include "platform/raster/RasterRows.h"

#include <cstring>

#include "platform/raster/BitBlt.h"

namespace ombrevale {

namespace {

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && defined(__ELF__)
#define OMBREVALE_WIDEST_VECTORS __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define OMBREVALE_WIDEST_VECTORS
#endif

// One loop per operation over all rows; `op` is inlined into each build of it.
template <typename Op>
inline void Rows(Pixel* __restrict dst, size_t dstPitch, const Pixel* __restrict src,
                 size_t srcPitch, size_t width, size_t rows, Op op) {
  for (size_t r = 0; r < rows; ++r) {
    Pixel* __restrict d = dst + r * dstPitch;
    const Pixel* __restrict s = src + r * srcPitch;
    for (size_t i = 0; i < width; ++i) d[i] = op(d[i], s[i]);
  }
}

OMBREVALE_WIDEST_VECTORS
void OrRows(Pixel* __restrict dst, size_t dstPitch, const Pixel* __restrict src, size_t srcPitch,
            size_t width, size_t rows) {
  Rows(dst, dstPitch, src, srcPitch, width, rows, [](Pixel d, Pixel s) { return d | s; });
}

OMBREVALE_WIDEST_VECTORS
void AndRows(Pixel* __restrict dst, size_t dstPitch, const Pixel* __restrict src, size_t srcPitch,
             size_t width, size_t rows) {
  Rows(dst, dstPitch, src, srcPitch, width, rows, [](Pixel d, Pixel s) { return d & s; });
}

OMBREVALE_WIDEST_VECTORS
void XorRows(Pixel* __restrict dst, size_t dstPitch, const Pixel* __restrict src, size_t srcPitch,
             size_t width, size_t rows) {
  Rows(dst, dstPitch, src, srcPitch, width, rows, [](Pixel d, Pixel s) { return d ^ s; });
}

// The C library's memcpy already picks the widest copy the processor has.
void CopyRows(Pixel* dst, size_t dstPitch, const Pixel* src, size_t srcPitch, size_t width,
              size_t rows) {
  for (size_t r = 0; r < rows; ++r) {
    std::memcpy(dst + r * dstPitch, src + r * srcPitch, width * sizeof(Pixel));
  }
}

}  // namespace

void CombineRows(Pixel* dst, size_t dstPitch, const Pixel* src, size_t srcPitch, size_t width,
                 size_t rows, uint32_t rop) {
  if (width == 0 || rows == 0) return;
  if (dstPitch == width && srcPitch == width) {
    width *= rows;  // the rows follow one another on both sides: one long row
    rows = 1;
  }
  switch (rop) {
    case SRCCOPY:
      CopyRows(dst, dstPitch, src, srcPitch, width, rows);
      break;
    case SRCPAINT:
      OrRows(dst, dstPitch, src, srcPitch, width, rows);
      break;
    case SRCAND:
      AndRows(dst, dstPitch, src, srcPitch, width, rows);
      break;
    case SRCINVERT:
      XorRows(dst, dstPitch, src, srcPitch, width, rows);
      break;
    default:
      break;
  }
}

}  // namespace ombrevale
