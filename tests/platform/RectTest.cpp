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

// The border around a picture: every pixel of the outer rectangle lies in exactly one strip or
// in the hole, and no strip reaches outside the outer rectangle, for every placement of the hole
// on a small grid: inside, across an edge, off it, empty, and the outer rectangle empty too.
TEST(Rect, StripsAroundAHoleCoverTheRestExactlyOnce) {
  std::vector<Rect> holes;
  for (int x = -3; x <= 7; x += 2)
    for (int w = -1; w <= 9; w += 2) holes.push_back({x, x - 1, w, 9 - w});
  for (const Rect& outer : {Rect{0, 0, 6, 5}, Rect{1, 2, 3, 1}, Rect{0, 0, 0, 4}})
    for (const Rect& hole : holes) {
      const auto strips = outer.StripsAround(hole);
      for (const Rect& strip : strips) {
        if (strip.Empty()) {
          EXPECT_EQ(strip, Rect{});
        }
      }
      for (int y = -5; y < 12; ++y)
        for (int x = -5; x < 12; ++x) {
          int covering = outer.Intersect(hole).Contains(x, y) ? 1 : 0;
          for (const Rect& strip : strips) covering += strip.Contains(x, y) ? 1 : 0;
          ASSERT_EQ(covering, outer.Contains(x, y) ? 1 : 0)
              << "at " << x << "," << y << " around " << hole.x << "," << hole.y << " " << hole.w
              << "x" << hole.h;
        }
    }
  // A page centred in a wider window: black to its left and right only.
  const auto sides = Rect{0, 0, 1920, 1080}.StripsAround({348, 0, 1212, 1080});
  EXPECT_EQ(sides[2], (Rect{0, 0, 348, 1080}));
  EXPECT_EQ(sides[3], (Rect{1560, 0, 360, 1080}));
  EXPECT_TRUE(sides[0].Empty() && sides[1].Empty());
}

TEST(Rect, ScaledInsetAndCentredKeepTheirMeaningAtTheEdges) {
  // Each pixel of a scaled rectangle is a factor x factor block of the shown one.
  const Rect label{226, 282, 169, 25};
  EXPECT_EQ(label.Scaled(3), (Rect{678, 846, 507, 75}));
  EXPECT_TRUE(label.Scaled(0).Empty());
  EXPECT_EQ(Rect({-2, 1, 3, 4}).Scaled(2), Rect({-4, 2, 6, 8}));
  EXPECT_EQ(Rect({INT_MAX / 2, INT_MIN / 2, INT_MAX, 1}).Scaled(4),
            Rect({INT_MAX, INT_MIN, INT_MAX, 4}));

  // Inset by edge after edge, past the middle to nothing; outset by a negative one.
  const Rect box{10, 20, 6, 9};
  EXPECT_EQ(box.Inset(1), (Rect{11, 21, 4, 7}));
  EXPECT_EQ(box.Inset(3), (Rect{13, 23, 0, 3}));
  EXPECT_TRUE(box.Inset(3).Empty());
  EXPECT_EQ(box.Inset(50).w, 0);
  EXPECT_EQ(box.Inset(-2), (Rect{8, 18, 10, 13}));
  EXPECT_EQ(Rect({INT_MIN, 0, 4, 4}).Inset(-1).x, INT_MIN);

  // Centred in a larger rectangle, from its corner in a smaller one (odd room rounds left).
  EXPECT_EQ(Rect({7, 7, 404, 324}).CentredIn({100, 50, 1920, 1080}),
            Rect({100 + 758, 50 + 378, 404, 324}));
  EXPECT_EQ(Rect({0, 0, 5, 5}).CentredIn({0, 0, 8, 3}), Rect({1, 0, 5, 5}));
  EXPECT_EQ(Rect({0, 0, 808, 648}).CentredIn({-10, 3, 500, 400}), Rect({-10, 3, 808, 648}));
}

}  // namespace
}  // namespace ombrevale
