#pragma once

// The colour a pixel is held at when its transition must not be shown: a blend in linear light
// from the colour shown before towards the frame's own, as far towards it as the pixel can go
// without a transition of either kind, by what it remembers (FlashSwing.h).

#include "platform/Surface.h"
#include "platform/flash/FlashRows.h"
#include "platform/flash/FlashSwing.h"

namespace ombrevale {

// The blend of `shown` (the pixel's colour in the frame before) and `wanted` (its colour in the
// frame now) that starts no transition from `swing`, nearest `wanted`, in 8-bit channels: what
// rounding to them can add is kept in reserve. The caller checks the colour with the rule itself;
// `shown` always passes.
Pixel HeldColour(const PixelSwing& swing, Pixel shown, Pixel wanted);

// The same blend a `share` (0 to 1) of the way from `shown` to `wanted`.
Pixel BlendInLinearLight(Pixel shown, Pixel wanted, double share);

// HeldColour for the pixels `xs` (`count` of them) of a row whose colours are `row` and were
// `shown`, the pixels' memories in `planes` from pixel `start`: each held in place in `row`.
void HoldPixels(const PixelPlanes& planes, size_t start, const int* xs, size_t count,
                const Pixel* shown, Pixel* row);

}  // namespace ombrevale
