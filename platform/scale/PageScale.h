#pragma once

// How large the page is drawn on a scaled screen, one rule for every desktop: at a whole factor of
// its natural size, so that every canvas pixel is a square block of the screen's pixels and the
// window keeps the size in inches it was laid out for.

#include <optional>
#include <string_view>

#include "platform/Controls.h"

namespace ombrevale {

// The factors a player may ask for (--scale, ?scale=), and the most the desktop's own scale gives.
inline constexpr int kMinPageScale = 1, kMaxPageScale = 8;
// The dots per inch the page's twips were laid out for: a desktop scale of 1.
inline constexpr double kNaturalDpi = 96;

// The page's factor for a desktop whose scale is `desktopScale` (its pixels per inch / 96): the
// whole number nearest to it, halves up (1.25 -> 1, 1.5 -> 2, 2.5 -> 3), at least 1 and at most 8.
// A scale that is no number, or not above 0, counts as 1.
int PageScaleFor(double desktopScale);

// The player's factor where one was asked for, else the desktop's.
int ChosenPageScale(std::optional<int> asked, double desktopScale);

// A factor as the player writes it: a whole number from 1 to 8, nothing else.
std::optional<int> ReadPageScale(std::string_view text);

// Twips per screen pixel at page factor `scale`: 15 at 1, so that every twip of the layout comes
// out `scale` times larger in pixels.
inline constexpr float TwipsPerPixelAt(int scale) {
  return kTwipsPerPixel / static_cast<float>(scale);
}

}  // namespace ombrevale
