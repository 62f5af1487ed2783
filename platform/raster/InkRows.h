#pragma once

// Blits from a picture whose ink is noted: each row combines only the stretch that holds ink. The
// black around it leaves the target as it is under OR and XOR, and makes it black under copy and
// AND, which takes a fill in place of reading either side.

#include <cstddef>
#include <cstdint>

#include "platform/Surface.h"

namespace ombrevale {

// As CombineRows, for `rows` rows from a source whose row r has its ink at `ink[r]`, in source
// columns; `srcX` is the source column of the transfer's left edge.
void CombineInkedRows(Pixel* dst, size_t dstPitch, const Pixel* src, size_t srcPitch, size_t width,
                      size_t rows, const InkSpan* ink, size_t srcX, uint32_t rop);

}  // namespace ombrevale
