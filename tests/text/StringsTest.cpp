#include "text/Strings.h"

#include <gtest/gtest.h>

#include <array>
#include <clocale>
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

TEST(Strings, DelimitersMatchWithoutRegardToTheCaseOfLetters) {
  EXPECT_EQ(Split("aXbxc", "x"), (Pieces{"a", "b", "c"}));
  EXPECT_EQ(Split("p--q--", "--"), (Pieces{"p", "q"}));
  EXPECT_EQ(Split("p-q", "--"), (Pieces{"p-q"}));
  EXPECT_EQ(Split("oneANDtwoandthree", "And"), (Pieces{"one", "two", "three"}));

  EXPECT_EQ(Split("aébÉc", "é"), (Pieces{"a", "b", "c"}));
  EXPECT_EQ(Split("xÿyŸz", "Ÿ"), (Pieces{"x", "y", "z"}));
  EXPECT_EQ(Split("1α2Α3", "α"), (Pieces{"1", "2", "3"}));
  EXPECT_EQ(Split("aσbΣcςd", "Σ"), (Pieces{"a", "b", "c", "d"}));  // final sigma too
  EXPECT_EQ(Split("aЖbжc", "ж"), (Pieces{"a", "b", "c"}));
  EXPECT_EQ(Split("ГОДгод", "Од"), (Pieces{"Г", "г"}));
  // A letter whose upper case is longer than one letter stays itself.
  EXPECT_EQ(Split("MaßeMASSE", "ss"), (Pieces{"MaßeMA", "E"}));
  EXPECT_EQ(Split("aßbSSc", "ß"), (Pieces{"a", "bSSc"}));
}

TEST(Strings, AMatchMayTakeOtherBytesThanTheDelimiterAndPiecesStaySlicesOfTheText) {
  // Dotless ı and long ſ take two bytes, their upper case I and S one.
  EXPECT_EQ(Split("aıbIci", "I"), (Pieces{"a", "b", "c"}));
  EXPECT_EQ(Split("xIyız", "ı"), (Pieces{"x", "y", "z"}));
  EXPECT_EQ(TextBefore("Kıyı", "I"), "K");
  EXPECT_EQ(Split("ſ1s2S3", "s"), (Pieces{"", "1", "2", "3"}));

  // Counting resumes right after each match, however long it is in the text.
  int16_t count = 0;
  EXPECT_EQ(CountDelimiter("sSsS", "ſ", count), 1);
  EXPECT_EQ(count, 4);
  count = 0;
  EXPECT_EQ(CountDelimiter("ſıſı", "si", count), 1);
  EXPECT_EQ(count, 2);
}

TEST(Strings, ABrokenByteMatchesOnlyItselfNeverALetter) {
  // "\xC3" alone is broken; in "é" it is the first of two bytes.
  EXPECT_EQ(Split("\xC3é\xC3x", "é"), (Pieces{"\xC3", "\xC3x"}));
  EXPECT_EQ(Split("\xC3é\xC3x", "\xC3"), (Pieces{"", "é", "x"}));
  EXPECT_EQ(Split("\xC3É", "é"), (Pieces{"\xC3"}));
  // The lone byte E9 is not the character U+00E9 (é), however it is cased.
  EXPECT_EQ(Split("é\xE9É", "\xE9"), (Pieces{"é", "É"}));
  EXPECT_EQ(Split("é\xE9É", "É"), (Pieces{"", "\xE9"}));
  // An overlong encoding of "A" is two broken bytes, not a letter.
  EXPECT_EQ(Split("x\xC1\x81y", "a"), (Pieces{"x\xC1\x81y"}));
}

TEST(Strings, TheUsersLocaleDoesNotChangeTheMatching) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  const auto splitAll = [] {
    return std::vector<Pieces>{Split("aébÉc", "é"), Split("aIbıc", "ı"), Split("aЖbжc", "ж"),
                               Split("aßbSSc", "ß")};
  };
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  const std::vector<Pieces> inC = splitAll();
  const char* utf8 = std::setlocale(LC_ALL, "C.UTF-8");
  const std::vector<Pieces> inUtf8 = splitAll();
  std::setlocale(LC_ALL, saved.c_str());

  ASSERT_NE(utf8, nullptr);
  EXPECT_EQ(inC, inUtf8);
  EXPECT_EQ(inC[0], (Pieces{"a", "b", "c"}));
  EXPECT_EQ(inC[1], (Pieces{"a", "b", "c"}));
}

TEST(Strings, PositionsCountWholeCharacters) {
  EXPECT_EQ(Split("時・分・秒", "・"), (Pieces{"時", "分", "秒"}));
  // A broken byte in the delimiter never matches the first byte of a whole character.
  EXPECT_EQ(Split("時\xE6x", "\xE6"), (Pieces{"時", "x"}));
  EXPECT_EQ(TextBefore("ab時cd", "時"), "ab");

  // Sequences that are not valid UTF-8 are one-byte characters: overlong, surrogate, past U+10FFFF.
  EXPECT_EQ(FirstCharLength("\xC0\x80"), 1u);
  EXPECT_EQ(FirstCharLength("\xE0\x9F\xBF"), 1u);
  EXPECT_EQ(FirstCharLength("\xED\xA0\x80"), 1u);
  EXPECT_EQ(FirstCharLength("\xF4\x90\x80\x80"), 1u);
  EXPECT_EQ(FirstCharLength("\xF0\x8F\xBF\xBF"), 1u);
  EXPECT_EQ(FirstCharLength("\xE0\xA0\x80"), 3u);
  EXPECT_EQ(FirstCharLength("\xF4\x8F\xBF\xBF"), 4u);
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
