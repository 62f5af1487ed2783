// The fatal error's text in lines SDL's box can show on any screen.

#include "backends/sdl/boxes/ErrorBoxLines.h"

#include <gtest/gtest.h>

namespace ombrevale {
namespace {

TEST(ErrorBoxLines, ASentenceBreaksAtSpacesAndALongPathAfterItsFolders) {
  EXPECT_EQ(ErrorBoxLines("a short one", 20), "a short one");
  EXPECT_EQ(ErrorBoxLines("one two three four five", 9), "one two\nthree\nfour five");
  // The text's own breaks stay; spaces where a line breaks go.
  EXPECT_EQ(ErrorBoxLines("first line\nsecond  line", 8), "first\nline\nsecond\nline");
  // A path longer than a line goes on after its last "/" that fits, else where the line is full.
  EXPECT_EQ(ErrorBoxLines("/home/player/games/dat/face.bmp: broken", 14),
            "/home/player/\ngames/dat/\nface.bmp:\nbroken");
  EXPECT_EQ(ErrorBoxLines("abcdefghij", 4), "abcd\nefgh\nij");
  // Characters, not bytes: "é" is one.
  EXPECT_EQ(ErrorBoxLines("\xc3\xa9t\xc3\xa9 d\xc3\xa9j\xc3\xa0", 4),
            "\xc3\xa9t\xc3\xa9\nd\xc3\xa9j\xc3\xa0");
}

}  // namespace
}  // namespace ombrevale
