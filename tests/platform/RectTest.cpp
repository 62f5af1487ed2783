#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/Rect.h"

namespace ombrevale {
namespace {

// Every pixel of a small grid, asked of both rectangles and of their intersection: the
// intersection covers exactly the pixels both cover, for every placement of two rectangles on it,
// empty and negative sizes included.
TEST(Rect, IntersectionCoversExactlyWhatBothCover) {
  std::vector<Rect> rects;
  for (int x = -2; x <= 3; ++x)
    for (int w = -1; w <= 4; ++w) rects.push_back({x, x / 2, w, 3 - w});
  for (const Rect& a : rects)
    for (const Rect& b : rects) {
      const Rect both = a.Intersect(b);
      EXPECT_EQ(both, b.Intersect(a));
      if (both.Empty()) {
        EXPECT_EQ(both, Rect{});
      }
      for (int y = -4; y < 8; ++y)
        for (int x = -4; x < 8; ++x)
          ASSERT_EQ(both.Contains(x, y), a.Contains(x, y) && b.Contains(x, y))
              << "at " << x << "," << y;
    }
}

TEST(Rect, ExtremeCornersNeitherOverflowNorWrap) {
  const Rect screen{0, 0, 400, 300};
  // A rectangle that starts past the largest int's reach ends there, not at a negative edge.
  EXPECT_TRUE(Rect({INT_MAX - 5, 0, INT_MAX, 10}).Intersect(screen).Empty());
  EXPECT_EQ(Rect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}).Intersect(screen), Rect{});
  EXPECT_EQ(Rect({-10, -10, INT_MAX, INT_MAX}).Intersect(screen), screen);
  EXPECT_EQ(Rect({INT_MAX, 0, 1, 1}).Right(), int64_t{INT_MAX} + 1);
  // Moving by a negated corner is safe, and a corner stops at the edge of an int.
  EXPECT_EQ(Rect({5, 6, 1, 1}).Offset(-int64_t{INT_MIN}, 0).x, INT_MAX);
  EXPECT_EQ(Rect({-5, 6, 1, 1}).Offset(int64_t{INT_MIN}, -7), Rect({INT_MIN, -1, 1, 1}));
}

}  // namespace
}  // namespace ombrevale
