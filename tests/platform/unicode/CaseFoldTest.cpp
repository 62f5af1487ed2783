#include "platform/unicode/CaseFold.h"

#include <gtest/gtest.h>

#include "platform/unicode/Utf8.h"

namespace ombrevale {
namespace {

TEST(CaseFold, EveryLetterWithAOneCharacterUpperCaseGetsIt) {
  EXPECT_EQ(UpperCase(U'a'), U'A');
  EXPECT_EQ(UpperCase(U'Z'), U'Z');
  EXPECT_EQ(UpperCase(U'@'), U'@');
  EXPECT_EQ(UpperCase(U'é'), U'É');
  EXPECT_EQ(UpperCase(U'ÿ'), U'Ÿ');  // Latin-1 letter whose upper case lies outside Latin-1
  EXPECT_EQ(UpperCase(U'ж'), U'Ж');
  EXPECT_EQ(UpperCase(U'ς'), U'Σ');
  EXPECT_EQ(UpperCase(U'ı'), U'I');
  EXPECT_EQ(UpperCase(U'ǆ'), U'Ǆ');
  EXPECT_EQ(UpperCase(U'𐐨'), U'𐐀');  // beyond the first 65536 code points

  // No one-character upper case: left alone.
  EXPECT_EQ(UpperCase(U'ß'), U'ß');
  EXPECT_EQ(UpperCase(U'時'), U'時');
  EXPECT_EQ(UpperCase(0xD800), 0xD800u);      // a surrogate is no character
  EXPECT_EQ(UpperCase(0x110000), 0x110000u);  // past Unicode
}

TEST(CaseFold, TheFirstLetterOfAUtf8TextDecodesWholeOrAsOneBrokenByte) {
  const Utf8Char e = DecodeFirst("éa");
  EXPECT_EQ(e.code, U'é');
  EXPECT_EQ(e.length, 2);
  EXPECT_FALSE(e.broken);
  EXPECT_EQ(UpperCase(DecodeFirst("жук").code), U'Ж');
  EXPECT_EQ(DecodeFirst("𐐨").length, 4);

  const Utf8Char cut = DecodeFirst("\xC3");
  EXPECT_TRUE(cut.broken);
  EXPECT_EQ(cut.code, 0xC3u);
  EXPECT_EQ(cut.length, 1);
  EXPECT_TRUE(DecodeFirst("\x80x").broken);
  EXPECT_EQ(DecodeFirst("").length, 0);
}

}  // namespace
}  // namespace ombrevale
