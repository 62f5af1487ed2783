#pragma once

// The page's factor for a window on a screen, one rule for every desktop: the factor the player
// asked for or the desktop's scale gives, but never one at which the window would be larger than
// the screen it is on, and never one taken from a scale beyond any a screen has (a desktop set to
// a thousand times, or to a hundredth), which is clamped as the page's own bounds are.

#include <optional>
#include <string>

namespace ombrevale {

// The largest screen there is, each way, in pixels: the largest picture a graphics card draws. A
// screen that claims more (a Wayland output at a hundredth, 128000 x 80000 points for 1280 x 800
// pixels) is not believed.
inline constexpr int kLargestScreen = 16384;

// Whether a desktop's scale is beyond all reason: one whose nearest whole factor lies outside the
// page's 1 to 8. A scale that is no number, or not above 0, says no scale at all (1) and is not
// absurd.
bool AbsurdScale(double desktopScale);

// The desktop's scale as the page takes it: an absurd one clamped to the nearest of 1 and 8; any
// other as it is.
double SaneScale(double desktopScale);

// The largest whole factor from 1 to `factor` at which a picture of `width` x `height` fits a
// screen of `screenWidth` x `screenHeight`: at least 1 however small the screen, and `factor` as it
// is where the screen's size is unknown (0).
int LargestFactorThatFits(int factor, int screenWidth, int screenHeight, int width, int height);

// The page's factor for a window whose client area is `width` x `height` pixels at the natural
// size, on a screen of `screenWidth` x `screenHeight` pixels.
struct ScreenFit {
  int factor = 1;
  bool absurd = false;  // the desktop's scale was absurd, and was clamped
};
// The player's factor where one was asked for, else the desktop's (PageScaleFor), lowered to the
// largest that fits the screen.
ScreenFit FitOnScreen(std::optional<int> asked, double desktopScale, int screenWidth,
                      int screenHeight, int width, int height);

// What the program says, once, of an absurd desktop scale.
std::string AbsurdScaleSentence(double desktopScale);

}  // namespace ombrevale
