#pragma once

// Writing a decoded picture into fresh, still black pixels without touching its black: pages of a
// picture that hold nothing but black are then never written and cost no memory.

#include "platform/Surface.h"

namespace ombrevale {

// Copies `width` pixels of `row` to `target`, which holds black (zero) throughout, writing only
// the pieces that are not black.
void WriteRowOverBlack(Pixel* target, const Pixel* row, int width);

}  // namespace ombrevale
