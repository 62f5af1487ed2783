#pragma once

// The classic desktop colours the window wears: the page frames drawn by the logic, the menu strip
// and the box drawn by a backend. Said once, so that the window's parts always match.

#include "platform/Surface.h"

namespace ombrevale {

inline constexpr Pixel kButtonFace = Rgb(212, 208, 200);       // menu strip, box, light edge
inline constexpr Pixel kButtonHighlight = Rgb(255, 255, 255);  // the lit edge
inline constexpr Pixel kButtonShadow = Rgb(128, 128, 128);     // the shaded edge
inline constexpr Pixel kDarkShadow = Rgb(64, 64, 64);          // the darkest edge
inline constexpr Pixel kWindowText = Rgb(0, 0, 0);             // menu and box text, outlines
inline constexpr Pixel kActiveCaption = Rgb(0, 0, 128);        // the box's title bar
inline constexpr Pixel kCaptionText = Rgb(255, 255, 255);      // the title on it

}  // namespace ombrevale
