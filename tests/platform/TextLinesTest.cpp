// Where a caption or a box's text breaks its lines, for every desktop.

#include "platform/TextLines.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace ombrevale {
namespace {

using Lines = std::vector<std::string_view>;

TEST(TextLines, EachKindOfBreakEndsOneLine) {
  // The version box's text as the logic writes it, and every other break a text may carry.
  EXPECT_EQ(SplitLines("Ombrevale 0.13\r\nby someone\r\n2002/5/28"),
            (Lines{"Ombrevale 0.13", "by someone", "2002/5/28"}));
  EXPECT_EQ(SplitLines("a\rb\nc\r\nd"), (Lines{"a", "b", "c", "d"}));
  // "\n\r" is two breaks, "\r\r\n" two as well; a break at the end leaves an empty line.
  EXPECT_EQ(SplitLines("\n\r"), (Lines{"", "", ""}));
  EXPECT_EQ(SplitLines("x\r\r\n"), (Lines{"x", "", ""}));
  EXPECT_EQ(SplitLines(""), (Lines{""}));
  EXPECT_EQ(SplitLines("2028/12/07 16:38:40"), (Lines{"2028/12/07 16:38:40"}));

  EXPECT_EQ(WithNewlines("ver 1.0\r\nBurst"), "ver 1.0\nBurst");
  EXPECT_EQ(WithNewlines("a\rb\nc\r\n"), "a\nb\nc\n");
  EXPECT_EQ(WithNewlines(""), "");
}

}  // namespace
}  // namespace ombrevale
