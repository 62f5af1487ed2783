#pragma once

// The bit-block transfer every picture of the vision is drawn with: a rectangle of one surface
// combined into another by a raster operation, clipped to both.

#include <cstdint>

#include "platform/Surface.h"

namespace ombrevale {

// Raster operations: how a blit combines source and destination pixels.
inline constexpr uint32_t SRCCOPY = 0xCC0020;    // source
inline constexpr uint32_t SRCPAINT = 0xEE0086;   // source OR destination
inline constexpr uint32_t SRCAND = 0x8800C6;     // source AND destination
inline constexpr uint32_t SRCINVERT = 0x660046;  // source XOR destination

// Bit-block transfer: combines the w x h rectangle of `src` at (sx, sy) into `dst` at (x, y)
// with raster operation `rop`. Parts of the rectangle outside either surface are clipped; nothing
// outside the rectangle changes. Returns false (and draws nothing) for an unknown raster operation
// or an empty rectangle. `dst` and `src` may be the same surface, overlapping or not.
bool BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
            uint32_t rop);

}  // namespace ombrevale
