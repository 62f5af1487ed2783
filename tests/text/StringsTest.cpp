#include "text/Strings.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/FatalError.h"

namespace ombrevale {
namespace {

// The pieces SplitText stores, from index 1; checks that the count matches and index 0 is kept.
std::vector<std::string> Split(const std::string& text, const std::string& delimiter) {
  std::array<std::string, 12> parts;
  parts[0] = "kept";
  int16_t count = -7;
  SplitText(text, parts, delimiter, count);
  EXPECT_EQ(parts[0], "kept");
  EXPECT_EQ(static_cast<size_t>(count), CountPieces(text, delimiter)) << text;
  return {parts.begin() + 1, parts.begin() + 1 + count};
}

using Pieces = std::vector<std::string>;

TEST(Strings, EveryDelimiterEndsAPieceButTheLastMakesNoEmptyOne) {
  EXPECT_EQ(Split("2002/05/28", "/"), (Pieces{"2002", "05", "28"}));
  EXPECT_EQ(Split("a//b", "/"), (Pieces{"a", "", "b"}));
  EXPECT_EQ(Split("/a", "/"), (Pieces{"", "a"}));
  EXPECT_EQ(Split("a/", "/"), (Pieces{"a"}));
  EXPECT_EQ(Split("/", "/"), (Pieces{""}));
  EXPECT_EQ(Split("//", "/"), (Pieces{"", ""}));
  EXPECT_EQ(Split("", "/"), (Pieces{}));
  EXPECT_EQ(Split("2026/12/07 6:38:40", " "), (Pieces{"2026/12/07", "6:38:40"}));
}

TEST(Strings, DelimitersMatchWithoutRegardToTheCaseOfAsciiLetters) {
  EXPECT_EQ(Split("aXbxc", "x"), (Pieces{"a", "b", "c"}));
  EXPECT_EQ(Split("p--q--", "--"), (Pieces{"p", "q"}));
  EXPECT_EQ(Split("p-q", "--"), (Pieces{"p-q"}));
  EXPECT_EQ(Split("oneANDtwoandthree", "And"), (Pieces{"one", "two", "three"}));
  // Only ASCII letters are folded: é and É stay different.
  EXPECT_EQ(Split("aébÉc", "é"), (Pieces{"a", "bÉc"}));
}

TEST(Strings, PositionsCountWholeCharacters) {
  EXPECT_EQ(Split("時・分・秒", "・"), (Pieces{"時", "分", "秒"}));
  // A broken byte in the delimiter never matches the first byte of a whole character.
  EXPECT_EQ(Split("時\xE6x", "\xE6"), (Pieces{"時", "x"}));
  EXPECT_EQ(TextBefore("ab時cd", "時"), "ab");
}

TEST(Strings, SplittingLeavesIndexZeroAndThePlacesAboveTheCountAsTheyWere) {
  std::array<std::string, 4> parts = {"x", "y", "z", "w"};
  int16_t count = 99;
  SplitText("a/b", parts, "/", count);
  EXPECT_EQ(parts, (std::array<std::string, 4>{"x", "a", "b", "w"}));
  EXPECT_EQ(count, 2);

  SplitText("", parts, "/", count);
  EXPECT_EQ(parts, (std::array<std::string, 4>{"x", "a", "b", "w"}));
  EXPECT_EQ(count, 0);
}

TEST(Strings, APieceWithNoPlaceInTheArrayIsAFaultNeverAWriteOutOfBounds) {
  std::array<std::string, 3> parts = {"0", "1", "2"};
  int16_t count = 0;
  EXPECT_THROW(SplitText("a/b/c", parts, "/", count), FatalError);
  EXPECT_THROW(SplitText("a", std::span<std::string>(), "/", count), FatalError);
  std::array<std::string, 1> onlyZero;
  EXPECT_THROW(SplitText("a", onlyZero, "/", count), FatalError);
  EXPECT_NO_THROW(SplitText("", onlyZero, "/", count));
}

TEST(Strings, TextBeforeAndCountDelimiter) {
  EXPECT_EQ(TextBefore("12:34:56", ":"), "12");
  EXPECT_EQ(TextBefore(":5", ":"), "");
  EXPECT_EQ(TextBefore("ab", "abc"), "ab");  // cut short by the end: no match
  EXPECT_EQ(TextBefore("ab", ""), "");

  int16_t count = 10;
  EXPECT_EQ(CountDelimiter("a,b,,c", ",", count), 1);
  EXPECT_EQ(count, 13);  // increased, never reset
  count = 0;
  EXPECT_EQ(CountDelimiter("aaa", "aa", count), 1);
  EXPECT_EQ(count, 1);  // no overlapping matches
  EXPECT_EQ(CountDelimiter("abc", ",", count), 0);
  EXPECT_EQ(CountDelimiter("", ",", count), 0);
  EXPECT_EQ(CountDelimiter("abc", "", count), 0);
  EXPECT_EQ(count, 1);
}

TEST(Strings, AnEmptyDelimiterLeavesTheTextWholeAndLongTextsStaySafe) {
  EXPECT_EQ(Split("abc", ""), (Pieces{"abc"}));

  // Far past 32766 characters: splitting still works within the array's room, and a count that
  // would pass the 16-bit limit is a fault, not a wrap.
  const std::string longText = std::string(40000, 'a') + "/" + std::string(40000, 'b');
  EXPECT_EQ(Split(longText, "/").at(1).size(), 40000u);
  int16_t count = 0;
  EXPECT_THROW(CountDelimiter(std::string(40000, ','), ",", count), FatalError);
  EXPECT_EQ(CountPieces(std::string(40000, ','), ","), 40000u);
}

}  // namespace
}  // namespace ombrevale
