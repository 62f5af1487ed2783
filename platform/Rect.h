#pragma once

// The rectangle every floor measures with: where a blit lands, what part of a picture shows,
// what a box covers; clipped one way everywhere, so that no caller writes its own clip again.

#include <algorithm>
#include <array>
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

  // The rectangle `factor` times larger, its corner with it: a rectangle of the page at its
  // natural size as it lies in the page shown at that whole factor. Figures past the range of an
  // int stop at its edge.
  Rect Scaled(int factor) const {
    return {Saturate(int64_t{x} * factor), Saturate(int64_t{y} * factor),
            Saturate(int64_t{w} * factor), Saturate(int64_t{h} * factor)};
  }

  // The rectangle shrunk by `by` pixels on every side (grown by a negative `by`): the next edge
  // inwards of a frame. Shrunk past its middle, it is empty, its width or height 0.
  Rect Inset(int by) const {
    return {Saturate(int64_t{x} + by), Saturate(int64_t{y} + by),
            Saturate(std::max<int64_t>(0, int64_t{w} - 2 * int64_t{by})),
            Saturate(std::max<int64_t>(0, int64_t{h} - 2 * int64_t{by}))};
  }

  // A rectangle of this one's size centred in `outer`; where it is wider or taller than `outer`,
  // it starts at `outer`'s left or top edge, so that its top-left part lies inside.
  Rect CentredIn(const Rect& outer) const {
    return {Saturate(outer.x + std::max<int64_t>(0, (int64_t{outer.w} - w) / 2)),
            Saturate(outer.y + std::max<int64_t>(0, (int64_t{outer.h} - h) / 2)), w, h};
  }

  // The strips of this rectangle that `hole` leaves uncovered, as a border around a picture
  // centred in a window: the bands above and below the hole, the whole width, then the parts
  // left and right of it between them. They do not overlap, and with the part of the hole inside
  // this rectangle they cover it exactly. A strip that is not there is the empty rectangle; a hole
  // that misses this rectangle leaves all of it, the first strip.
  std::array<Rect, 4> StripsAround(const Rect& hole) const {
    const Rect inside = Intersect(hole);
    if (inside.Empty()) return {Empty() ? Rect{} : *this, Rect{}, Rect{}, Rect{}};
    const int64_t right = inside.Right(), bottom = inside.Bottom();
    return {Strip(x, y, w, inside.y - int64_t{y}), Strip(x, bottom, w, Bottom() - bottom),
            Strip(x, inside.y, inside.x - int64_t{x}, inside.h),
            Strip(right, inside.y, Right() - right, inside.h)};
  }

  bool operator==(const Rect&) const = default;

 private:
  static int Saturate(int64_t v) {
    return static_cast<int>(
        std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
  }
  // A strip of StripsAround, its figures stopped at the edges of an int; {} when it is empty.
  static Rect Strip(int64_t left, int64_t top, int64_t width, int64_t height) {
    if (width <= 0 || height <= 0) return {};
    return {Saturate(left), Saturate(top), Saturate(width), Saturate(height)};
  }
};

}  // namespace ombrevale
