#include "platform/scale/ScreenFit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/scale/PageScale.h"
#include "platform/scale/Scaler.h"

namespace ombrevale {

bool AbsurdScale(double desktopScale) {
  if (std::isnan(desktopScale) || desktopScale <= 0) return false;  // no scale said at all
  const double nearest = std::floor(desktopScale + 0.5);
  return nearest < kMinPageScale || nearest > kMaxPageScale;
}

double SaneScale(double desktopScale) {
  if (!AbsurdScale(desktopScale)) return desktopScale;
  return std::clamp(desktopScale, double{kMinPageScale}, double{kMaxPageScale});
}

int LargestFactorThatFits(int factor, int screenWidth, int screenHeight, int width, int height) {
  if (screenWidth <= 0 || screenHeight <= 0) return factor;
  return std::max(
      1, std::min(FitWholeFactor(screenWidth, screenHeight, width, height).factor, factor));
}

ScreenFit FitOnScreen(std::optional<int> asked, double desktopScale, int screenWidth,
                      int screenHeight, int width, int height) {
  const bool playerAsked = asked && *asked >= kMinPageScale && *asked <= kMaxPageScale;
  ScreenFit fit;
  fit.absurd = !playerAsked && AbsurdScale(desktopScale);
  fit.factor = LargestFactorThatFits(ChosenPageScale(asked, desktopScale), screenWidth,
                                     screenHeight, width, height);
  return fit;
}

std::string AbsurdScaleSentence(double desktopScale) {
  // Whole above 1, two figures below it: "1000", "0.01".
  char said[32];
  std::snprintf(said, sizeof said, desktopScale >= 1 ? "%.0f" : "%.2g", desktopScale);
  return std::string("the desktop's scale of ") + said +
         " is beyond any screen's, so it is taken as " + std::to_string(PageScaleFor(desktopScale));
}

}  // namespace ombrevale
