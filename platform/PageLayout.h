#pragma once

// The sizes of a page and of the canvas it holds, in pixels: what every floor that lays out,
// draws or shows the title page measures by.

namespace ombrevale {

// A page covers the window's client area: a 2-pixel sunken frame around a 400 x 300 inside.
inline constexpr int kPageFrame = 2;
inline constexpr int kCanvasWidth = 400, kCanvasHeight = 300;
inline constexpr int kPageWidth = kCanvasWidth + 2 * kPageFrame;    // 404
inline constexpr int kPageHeight = kCanvasHeight + 2 * kPageFrame;  // 304

// The client area at its natural size, where a desktop draws the menu bar itself (the SDL window,
// the web page): a menu strip of 20 pixels, then one page.
inline constexpr int kMenuHeight = 20;
inline constexpr int kClientWidth = kPageWidth;                  // 404
inline constexpr int kClientHeight = kMenuHeight + kPageHeight;  // 324

}  // namespace ombrevale
