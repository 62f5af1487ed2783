#include "platform/win32/WholeFactorFit.h"

#include <gtest/gtest.h>

namespace ombrevale {
namespace {

TEST(WholeFactorFit, ThePageScalesByTheLargestWholeFactorCentredOnBlack) {
  const PageFit natural = FitPage(404, 304, 404, 304);
  EXPECT_EQ(natural.factor, 1);
  EXPECT_EQ(natural.x, 0);
  EXPECT_EQ(natural.y, 0);

  // Maximised on 1920 x 1080 below a menu bar: three times, the rest black on either side.
  const PageFit big = FitPage(1920, 1017, 404, 304);
  EXPECT_EQ(big.factor, 3);
  EXPECT_EQ(big.width, 1212);
  EXPECT_EQ(big.height, 912);
  EXPECT_EQ(big.x, (1920 - 1212) / 2);
  EXPECT_EQ(big.y, (1017 - 912) / 2);

  // One pixel short of twice in one direction stays at once.
  EXPECT_EQ(FitPage(808, 607, 404, 304).factor, 1);
  // Smaller than the page: its own size from the corner.
  const PageFit small = FitPage(200, 100, 404, 304);
  EXPECT_EQ(small.factor, 1);
  EXPECT_EQ(small.x, 0);
  EXPECT_EQ(small.y, 0);
}

}  // namespace
}  // namespace ombrevale
