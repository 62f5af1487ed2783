// The page's factor for a window on a screen: what the player or the desktop asks for, lowered to
// what fits the screen, and a desktop's absurd scale clamped and said.

#include "platform/scale/ScreenFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace ombrevale {
namespace {

// The SDL window's client area, menu strip included.
constexpr int kWidth = 404, kHeight = 324;

TEST(ScreenFit, TheFactorIsTheLargestThatFitsTheScreenAndAnAbsurdScaleIsClampedAndSaid) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const struct {
    std::optional<int> asked;
    double desktop;
    int screenWidth, screenHeight;
    int factor;
    bool absurd;
  } table[] = {
      // A screen with room: the factor as the rule of the page's scale gives it.
      {std::nullopt, 2.0, 1920, 1200, 2, false},
      {std::nullopt, 3.0, 3840, 2160, 3, false},
      {3, 1.0, 3840, 2160, 3, false},
      // 1280 x 800: 800 / 324 leaves room for 2, whatever is asked.
      {std::nullopt, 8.0, 1280, 800, 2, false},    // Xft.dpi 768
      {3, 1.0, 1280, 800, 2, false},               // --scale 3
      {8, 1000.0, 1280, 800, 2, false},            // the player's word wins, and is no absurdity
      {std::nullopt, 1000.0, 1280, 800, 2, true},  // GDK_SCALE=1000
      {std::nullopt, 1000.0, 7680, 4320, 8, true},
      // Exactly the screen's size fits; a pixel less does not.
      {std::nullopt, 2.0, 808, 648, 2, false},
      {std::nullopt, 2.0, 807, 648, 1, false},
      {std::nullopt, 2.0, 808, 647, 1, false},
      // A screen smaller than the page: still 1.
      {std::nullopt, 3.0, 320, 240, 1, false},
      // A screen of unknown size: the factor as asked.
      {std::nullopt, 3.0, 0, 0, 3, false},
      // A hundredth (a Wayland output at 0.01), infinity; and scales that say nothing at all.
      {std::nullopt, 0.01, 1280, 800, 1, true},
      {std::nullopt, kInf, 1920, 1200, 3, true},
      {std::nullopt, 0.5, 1280, 800, 1, false},
      {std::nullopt, 8.49, 7680, 4320, 8, false},
      {std::nullopt, 8.5, 7680, 4320, 8, true},
      {std::nullopt, 0.0, 1280, 800, 1, false},
      {std::nullopt, -3.0, 1280, 800, 1, false},
      {std::nullopt, std::nan(""), 1280, 800, 1, false},
  };
  for (const auto& row : table) {
    const ScreenFit fit =
        FitOnScreen(row.asked, row.desktop, row.screenWidth, row.screenHeight, kWidth, kHeight);
    EXPECT_EQ(fit.factor, row.factor) << row.desktop << " on " << row.screenWidth << " x "
                                      << row.screenHeight << ", asked " << row.asked.value_or(0);
    EXPECT_EQ(fit.absurd, row.absurd) << row.desktop << ", asked " << row.asked.value_or(0);
  }
}

TEST(ScreenFit, AnAbsurdScaleIsTakenAtTheNearestBoundAndSaidInTheProgramsWords) {
  EXPECT_EQ(SaneScale(1000), 8);
  EXPECT_EQ(SaneScale(0.01), 1);
  EXPECT_EQ(SaneScale(1.5), 1.5) << "a sane scale is kept as it is, fractions and all";
  EXPECT_EQ(SaneScale(0.6), 0.6);
  EXPECT_EQ(AbsurdScaleSentence(1000),
            "the desktop's scale of 1000 is beyond any screen's, so it is taken as 8");
  EXPECT_EQ(AbsurdScaleSentence(0.0099),
            "the desktop's scale of 0.0099 is beyond any screen's, so it is taken as 1");
}

}  // namespace
}  // namespace ombrevale
