#include "platform/raster/InkRows.h"

#include <algorithm>

#include "platform/raster/BitBlt.h"
#include "platform/raster/RasterRows.h"

namespace ombrevale {

void CombineInkedRows(Pixel* dst, size_t dstPitch, const Pixel* src, size_t srcPitch, size_t width,
                      size_t rows, const InkSpan* ink, size_t srcX, uint32_t rop) {
  // Black makes black under these two; under OR and XOR it changes nothing.
  const bool blackClears = rop == SRCCOPY || rop == SRCAND;
  for (size_t r = 0; r < rows; ++r, dst += dstPitch, src += srcPitch) {
    // The ink in the transfer's own columns, 0 to width.
    const auto clampToRow = [&](int column) {
      return std::clamp<int64_t>(int64_t{column} - static_cast<int64_t>(srcX), 0,
                                 static_cast<int64_t>(width));
    };
    size_t first = static_cast<size_t>(clampToRow(ink[r].first));
    size_t end = static_cast<size_t>(clampToRow(ink[r].end));
    if (end <= first) first = end = width;  // black throughout
    if (blackClears) {
      std::fill(dst, dst + first, Pixel{0});
      std::fill(dst + end, dst + width, Pixel{0});
    }
    if (first < end) CombineRows(dst + first, dstPitch, src + first, srcPitch, end - first, 1, rop);
  }
}

}  // namespace ombrevale
