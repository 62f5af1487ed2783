#pragma once

// The rectangle every floor measures with: where a blit lands, what part of a picture shows,
// what a box covers; clipped one way everywhere, so that no caller writes its own clip again.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace ombrevale {

// A rectangle of whole pixels: the corner (x, y), then the width and the height. Nothing of it
// lies at x + w or y + h. A rectangle with no width or no height covers nothing.
struct Rect {
  int x = 0, y = 0, w = 0, h = 0;

  bool Empty() const { return w <= 0 || h <= 0; }
  // The edges past the rectangle, in 64 bits: a corner near the largest int plus a width cannot
  // overflow.
  int64_t Right() const { return int64_t{x} + w; }
  int64_t Bottom() const { return int64_t{y} + h; }

  bool Contains(int px, int py) const {
    return !Empty() && px >= x && py >= y && px < Right() && py < Bottom();
  }

  // The part that lies in both rectangles; the empty rectangle {0, 0, 0, 0} when they do not meet.
  Rect Intersect(const Rect& other) const {
    if (Empty() || other.Empty()) return {};
    const int64_t left = std::max<int64_t>(x, other.x), top = std::max<int64_t>(y, other.y);
    const int64_t right = std::min(Right(), other.Right());
    const int64_t bottom = std::min(Bottom(), other.Bottom());
    if (right <= left || bottom <= top) return {};
    // Inside both, so every figure fits an int.
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
            static_cast<int>(bottom - top)};
  }

  // The same rectangle moved by (dx, dy). The move is taken in 64 bits, so that moving by the
  // negated corner of another rectangle is safe, and a corner that would leave the range of an
  // int stops at its edge.
  Rect Offset(int64_t dx, int64_t dy) const {
    return {Saturate(int64_t{x} + dx), Saturate(int64_t{y} + dy), w, h};
  }

  bool operator==(const Rect&) const = default;

 private:
  static int Saturate(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min(),
                                                 std::numeric_limits<int>::max()));
  }
};

}  // namespace ombrevale
