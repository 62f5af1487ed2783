#pragma once

// The row loops of each raster operation, built for the widest vectors the processor has.

#include <cstddef>
#include <cstdint>

#include "platform/Surface.h"

namespace ombrevale {

// Combines `rows` rows of `width` pixels of `src` into `dst` with raster operation `rop` (one of
// SRCCOPY, SRCPAINT, SRCAND, SRCINVERT; any other changes nothing). Row r starts at
// `dst + r * dstPitch` and `src + r * srcPitch` (pitches in pixels). The two blocks must not
// overlap. Rows that follow one another in memory (pitch == width on both sides) run as one long
// row, so a whole-width copy is a single memcpy.
void CombineRows(Pixel* dst, size_t dstPitch, const Pixel* src, size_t srcPitch, size_t width,
                 size_t rows, uint32_t rop);

}  // namespace ombrevale
