#pragma once

// The one-pixel edges that make a classic frame look sunken or raised: where their lines lie, for
// any painter to fill, the logic's on a picture as the backends' on their screens.

#include <array>

#include "platform/Rect.h"
#include "platform/Surface.h"

namespace ombrevale {

// One line of an edge: the rectangle it covers, one pixel thick, and its colour.
struct EdgeLine {
  Rect line;
  Pixel color = 0;
};

// The four lines of an edge just inside `box`, to be filled in this order: the top and left lines
// in `topLeft`, then the bottom and right lines in `bottomRight`, which take the two far corners.
// Light above and dark below raises the box; dark above and light below sinks it.
inline std::array<EdgeLine, 4> EdgeLines(const Rect& box, Pixel topLeft, Pixel bottomRight) {
  const int right = box.x + box.w - 1, bottom = box.y + box.h - 1;
  return {{{{box.x, box.y, box.w - 1, 1}, topLeft},
           {{box.x, box.y, 1, box.h - 1}, topLeft},
           {{box.x, bottom, box.w, 1}, bottomRight},
           {{right, box.y, 1, box.h}, bottomRight}}};
}

}  // namespace ombrevale
