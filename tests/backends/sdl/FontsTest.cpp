#include "backends/sdl/layers/Fonts.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

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

TEST(Fonts, WithoutTheJapaneseGothicAndItsStandInTheLabelTakesTheNextFace) {
  // A system whose only fonts are DejaVu's, with the system's usual rules.
  const char* kDejaVu = "/usr/share/fonts/truetype/dejavu";
  if (!std::filesystem::is_directory(kDejaVu)) GTEST_SKIP() << "fonts-dejavu-core is not installed";
  // Its cache in a folder of its own, which goes with the test.
  const std::filesystem::path cache =
      std::filesystem::temp_directory_path() / ("ombrevale-fonts-" + std::to_string(getpid()));
  struct RemoveCache {
    std::filesystem::path path;
    ~RemoveCache() { std::filesystem::remove_all(path); }
  } removeCache{cache};
  const std::string xml = std::string("<fontconfig><dir>") + kDejaVu + "</dir><cachedir>" +
                          cache.string() +
                          "</cachedir><include ignore_missing=\"yes\">/etc/fonts/conf.d</include>"
                          "</fontconfig>";
  const FontConfigPtr config(FcConfigCreate());
  ASSERT_NE(config, nullptr);
  ASSERT_TRUE(FcConfigParseAndLoadFromMemory(
      config.get(), reinterpret_cast<const FcChar8*>(xml.c_str()), FcTrue));
  ASSERT_TRUE(FcConfigBuildFonts(config.get()));
  ASSERT_TRUE(KnowsAnyFont(config.get()));

  Fonts fonts(config.get());
  testing::internal::CaptureStderr();
  TTF_Font* label = fonts.Open(Font{"ＭＳ Ｐゴシック", 12, true});
  const std::string said = testing::internal::GetCapturedStderr();
  ASSERT_NE(label, nullptr);
  EXPECT_STREQ(TTF_FontFaceFamilyName(label), "DejaVu Sans");
  EXPECT_EQ(said, "") << "a stand-in face is no fault";
  int w = 0, h = 0;
  EXPECT_EQ(TTF_SizeUTF8(label, "Burst", &w, &h), 0);
  EXPECT_GT(w, 0);
}

TEST(Fonts, WithoutAnyFontTheTextIsLeftOutAndSaidOnceInOneSentence) {
  const FontConfigPtr empty(FcConfigCreate());  // knows no font at all
  ASSERT_NE(empty, nullptr);
  EXPECT_FALSE(KnowsAnyFont(empty.get()));
  EXPECT_FALSE(KnowsAnyFont(nullptr));
  EXPECT_FALSE(MatchFont("sans-serif", false, empty.get()).has_value());
  {
    Fonts fonts(empty.get());
    testing::internal::CaptureStderr();
    // The menu's face first, as the window asks, then the label's, twice.
    EXPECT_EQ(fonts.OpenPixels("sans-serif", 12, false), nullptr);
    EXPECT_EQ(fonts.Open(Font{"ＭＳ Ｐゴシック", 12, true}), nullptr);
    EXPECT_EQ(fonts.Open(Font{"ＭＳ Ｐゴシック", 12, true}), nullptr);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said,
              "ombrevale: found no font on this system (fontconfig knows none); the window runs "
              "without its text.\n");
  }
}

}  // namespace
}  // namespace ombrevale
