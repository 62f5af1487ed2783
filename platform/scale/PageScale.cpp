#include "platform/scale/PageScale.h"

#include <algorithm>
#include <cmath>

namespace ombrevale {

int PageScaleFor(double desktopScale) {
  if (!(desktopScale > 0)) return kMinPageScale;  // NaN too
  const double nearest = std::floor(desktopScale + 0.5);
  return static_cast<int>(std::clamp(nearest, double{kMinPageScale}, double{kMaxPageScale}));
}

int ChosenPageScale(std::optional<int> asked, double desktopScale) {
  if (asked && *asked >= kMinPageScale && *asked <= kMaxPageScale) return *asked;
  return PageScaleFor(desktopScale);
}

std::optional<int> ReadPageScale(std::string_view text) {
  if (text.size() != 1 || text[0] < '0' + kMinPageScale || text[0] > '0' + kMaxPageScale)
    return std::nullopt;
  return text[0] - '0';
}

}  // namespace ombrevale
