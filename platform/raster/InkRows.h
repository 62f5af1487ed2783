#pragma once

// Blits from a picture whose ink is noted: each row combines only the stretches that hold ink. The
// black around them leaves the target as it is under OR and XOR, and makes it black under copy
// and AND, which takes a fill in place of reading either side.

#include <cstddef>
#include <cstdint>

#include "platform/Surface.h"

namespace ombrevale {

// As CombineRows, for `rows` rows from a source whose ink is `ink`, starting at the source's row
// `srcY` and column `srcX` (the transfer's top left corner in the source).
void CombineInkedRows(Pixel* dst, size_t dstPitch, const Pixel* src, size_t srcPitch, size_t width,
                      size_t rows, const InkNote& ink, size_t srcY, size_t srcX, uint32_t rop);

}  // namespace ombrevale
