#include "platform/raster/InkRows.h"

#include <algorithm>

#include "platform/raster/BitBlt.h"
#include "platform/raster/RasterRows.h"

namespace ombrevale {

void CombineInkedRows(Pixel* dst, size_t dstPitch, const Pixel* src, size_t srcPitch, size_t width,
                      size_t rows, const InkNote& ink, size_t srcY, size_t srcX, uint32_t rop) {
  // Black makes black under these two; under OR and XOR it changes nothing.
  const bool blackClears = rop == SRCCOPY || rop == SRCAND;
  // A source column in the transfer's own columns, 0 to width.
  const auto inTransfer = [srcX, width](int column) {
    return static_cast<size_t>(std::clamp<int64_t>(
        int64_t{column} - static_cast<int64_t>(srcX), 0, static_cast<int64_t>(width)));
  };
  for (size_t r = 0; r < rows; ++r, dst += dstPitch, src += srcPitch) {
    const size_t row = srcY + r;
    size_t done = 0;  // columns before this are combined or filled
    for (uint32_t k = ink.rowStart[row]; k < ink.rowStart[row + 1]; ++k) {
      const size_t first = inTransfer(ink.spans[k].first), end = inTransfer(ink.spans[k].end);
      if (end <= first) continue;  // outside the transfer
      if (blackClears) std::fill(dst + done, dst + first, Pixel{0});
      CombineRows(dst + first, dstPitch, src + first, srcPitch, end - first, 1, rop);
      done = end;
    }
    if (blackClears) std::fill(dst + done, dst + width, Pixel{0});
  }
}

}  // namespace ombrevale
