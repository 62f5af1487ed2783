#include "platform/scale/PageScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ombrevale {
namespace {

TEST(PageScale, TheDesktopsScaleGivesTheNearestWholeFactorHalvesUp) {
  const struct {
    double dpi;
    int factor;
  } table[] = {
      {96, 1},  {120, 1}, {143, 1}, {144, 2}, {168, 2}, {192, 2}, {239, 2},
      {240, 3}, {288, 3}, {336, 4}, {384, 4}, {72, 1},  {48, 1},  {1, 1},
  };
  for (const auto& row : table)
    EXPECT_EQ(PageScaleFor(row.dpi / kNaturalDpi), row.factor) << row.dpi << " dpi";
  // The issue's own scales, and the edges: nothing below 1, nothing above 8, nothing from junk.
  for (const auto& [scale, factor] : {std::pair{1.0, 1},
                                      {1.25, 1},
                                      {1.5, 2},
                                      {1.75, 2},
                                      {2.0, 2},
                                      {2.5, 3},
                                      {3.0, 3},
                                      {8.49, 8},
                                      {40.0, 8}})
    EXPECT_EQ(PageScaleFor(scale), factor) << scale;
  for (double junk : {0.0, -2.0, std::nan(""), -std::numeric_limits<double>::infinity()})
    EXPECT_EQ(PageScaleFor(junk), 1) << junk;
  EXPECT_EQ(PageScaleFor(std::numeric_limits<double>::infinity()), 8);
}

TEST(PageScale, ThePlayersFactorWinsAndIsReadAsOneDigitFromOneToEight) {
  EXPECT_EQ(ChosenPageScale(3, 1.0), 3);
  EXPECT_EQ(ChosenPageScale(1, 2.0), 1);
  EXPECT_EQ(ChosenPageScale(std::nullopt, 1.5), 2);
  for (int n = 1; n <= 8; ++n) EXPECT_EQ(ReadPageScale(std::to_string(n)), n);
  for (const char* bad : {"0", "9", "", "02", "2.0", " 2", "x", "-1", "10"})
    EXPECT_FALSE(ReadPageScale(bad)) << '"' << bad << '"';
  // Twips per pixel: 15 at the natural size, so a page of 6060 twips is 404 N pixels.
  EXPECT_EQ(6060 / TwipsPerPixelAt(1), 404);
  EXPECT_EQ(6060 / TwipsPerPixelAt(2), 808);
  EXPECT_EQ(6060 / TwipsPerPixelAt(3), 1212);
}

}  // namespace
}  // namespace ombrevale
