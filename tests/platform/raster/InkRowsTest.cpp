#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/raster/BitBlt.h"

namespace ombrevale {
namespace {

// A picture drawn mostly in black, as the vision's are: black rows, black margins of every width,
// islands of ink with gaps between them both narrower and wider than a stretch bridges, and ink at
// the very edges of some rows.
Surface MostlyBlack(int w, int h, uint32_t seed) {
  std::mt19937 random(seed);
  Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    const int islands = static_cast<int>(random() % 4);  // none: a black row
    for (int i = 0; i < islands; ++i) {
      const int from = static_cast<int>(random() % w);
      const int to = std::min(w, from + 1 + static_cast<int>(random() % 12));
      for (int x = from; x < to; ++x)
        if (random() % 4 != 0) s.Set(x, y, (random() & 0x00FFFFFF) | 1);
    }
  }
  return s;
}

Surface Speckled(int w, int h, uint32_t seed) {
  std::mt19937 random(seed);
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.Set(x, y, random() & 0x00FFFFFF);
  return s;
}

// Every operation, at clipped and unclipped places, gives from a picture with its ink noted
// exactly what it gives from the same picture without the note.
TEST(InkRows, BlitsFromANotedPictureEqualThoseFromAnUnnotedOne) {
  size_t rowsOfSeveralStretches = 0;
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    const Surface plain = MostlyBlack(97, 23, seed);
    Surface noted = plain;
    noted.NoteInk();
    ASSERT_NE(noted.Ink(), nullptr);
    for (size_t y = 0; y < 23; ++y)
      rowsOfSeveralStretches += noted.Ink()->rowStart[y + 1] - noted.Ink()->rowStart[y] > 1;
    for (uint32_t rop : {SRCCOPY, SRCPAINT, SRCAND, SRCINVERT})
      for (int x : {-100, -9, 0, 1, 5, 60})
        for (int y : {-25, -4, 0, 2, 20})
          for (int sx : {-3, 0, 4, 41, 96})
            for (int sy : {-2, 0, 7}) {
              Surface expected = Speckled(101, 27, seed), got = expected;
              BitBlt(expected, x, y, 97, 23, plain, sx, sy, rop);
              BitBlt(got, x, y, 97, 23, noted, sx, sy, rop);
              ASSERT_EQ(got, expected) << "seed " << seed << " rop " << std::hex << rop << std::dec
                                       << " at " << x << "," << y << " from " << sx << "," << sy;
            }
  }
  EXPECT_GT(rowsOfSeveralStretches, 10u) << "the pictures must have rows of several stretches";
}

// Once a noted picture is written to, the note is gone: blits never trust a stale one.
TEST(InkRows, WritingToAPictureForgetsItsInk) {
  const auto noted = [] {
    Surface s = MostlyBlack(16, 8, 3);
    s.NoteInk();
    return s;
  };
  Surface a = noted();
  a.Set(0, 0, 0x00FFFFFF);
  EXPECT_EQ(a.Ink(), nullptr);
  Surface b = noted();
  b.Row(7)[15] = 0x00123456;
  EXPECT_EQ(b.Ink(), nullptr);
  Surface c = noted();
  c.FillRect({2, 2, 3, 3}, 0x00808080);
  EXPECT_EQ(c.Ink(), nullptr);
  Surface d = noted();
  Surface canvas(16, 8);
  BitBlt(d, 0, 0, 16, 8, canvas, 0, 0, SRCPAINT);  // a target is written to as well
  EXPECT_EQ(d.Ink(), nullptr);
  const Surface e = noted();
  EXPECT_NE(e.Ink(), nullptr);  // reading keeps it
}

}  // namespace
}  // namespace ombrevale
