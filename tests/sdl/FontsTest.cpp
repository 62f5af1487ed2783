#include "platform/sdl/Fonts.h"

#include <gtest/gtest.h>

namespace ombrevale {
namespace {

bool EndsWith(const std::string& s, std::string_view tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(Fonts, TheJapaneseGothicFallsBackToItsIpaStandInWithSyntheticBold) {
  const FontConfigPtr config = LoadFontConfig();
  ASSERT_NE(config, nullptr);
  const std::optional<FontMatch> match = MatchFont("ＭＳ Ｐゴシック", true, config.get());
  ASSERT_TRUE(match.has_value());
  if (match->family == "ＭＳ Ｐゴシック") GTEST_SKIP() << "the face itself is installed";
  if (!EndsWith(match->file, "ipagp.ttf")) GTEST_SKIP() << "fonts-ipafont-gothic is not installed";
  EXPECT_EQ(match->family, "IPAPGothic");
  EXPECT_TRUE(match->syntheticBold) << "the IPA faces have no bold of their own";

  // The same stand-in under the face's Latin name, compared as fontconfig compares names.
  const std::optional<FontMatch> latin = MatchFont("ms pgothic", false, config.get());
  ASSERT_TRUE(latin.has_value());
  EXPECT_TRUE(EndsWith(latin->file, "ipagp.ttf"));
  EXPECT_FALSE(latin->syntheticBold);
}

TEST(Fonts, AnUnknownFaceFallsBackToABoldSans) {
  const FontConfigPtr config = LoadFontConfig();
  ASSERT_NE(config, nullptr);
  const std::optional<FontMatch> match = MatchFont("No Such Face Anywhere", true, config.get());
  ASSERT_TRUE(match.has_value());
  EXPECT_FALSE(match->file.empty());
  EXPECT_NE(match->family, "No Such Face Anywhere");

  // Whatever sans it is, drawing with it comes out bold: its own bold face, or an emboldened one.
  Fonts fonts;
  TTF_Font* font = fonts.OpenPixels("No Such Face Anywhere", 16, true);
  ASSERT_NE(font, nullptr);
  EXPECT_NE(TTF_GetFontStyle(font) & TTF_STYLE_BOLD, 0);
  const char* style = TTF_FontFaceStyleName(font);
  ASSERT_NE(style, nullptr);
  EXPECT_NE(std::string(style).find("Bold") != std::string::npos, match->syntheticBold) << style;
}

TEST(Fonts, TheLabelFontIsOpenedAtItsPixelSizeAndKept) {
  Fonts fonts;
  TTF_Font* font = fonts.Open(Font{"ＭＳ Ｐゴシック", 12, true});
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(fonts.Open(Font{"ＭＳ Ｐゴシック", 12, true}), font) << "opened fonts are kept";
  EXPECT_EQ(TTF_FontHeight(font), PointsToPixels(12)) << "12 points at 96 dpi";
  int w = 0, h = 0;
  ASSERT_EQ(TTF_SizeUTF8(font, "2028/12/07 16:38:40", &w, &h), 0);
  EXPECT_LE(h, 25);  // the clock label's height
}

TEST(Fonts, WithoutAnyFontTheTextIsLeftOutAndSaidOnce) {
  const FontConfigPtr empty(FcConfigCreate());  // knows no font at all
  ASSERT_NE(empty, nullptr);
  EXPECT_FALSE(MatchFont("sans-serif", false, empty.get()).has_value());
  {
    Fonts fonts(empty.get());
    testing::internal::CaptureStderr();
    EXPECT_EQ(fonts.Open(Font{"ＭＳ Ｐゴシック", 12, true}), nullptr);
    EXPECT_EQ(fonts.Open(Font{"ＭＳ Ｐゴシック", 12, true}), nullptr);
    EXPECT_EQ(fonts.OpenPixels("sans-serif", 12, false), nullptr);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("no usable font"), std::string::npos) << said;
    EXPECT_EQ(said.find("no usable font"), said.rfind("no usable font")) << said;
  }
}

}  // namespace
}  // namespace ombrevale
