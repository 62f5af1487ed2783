#pragma once

// The sizes of a page and of the canvas it holds, in pixels: what every floor that lays out,
// draws or shows the title page measures by.

namespace ombrevale {

// A page covers the window's client area: a 2-pixel sunken frame around a 400 x 300 inside.
inline constexpr int kPageFrame = 2;
inline constexpr int kCanvasWidth = 400, kCanvasHeight = 300;
inline constexpr int kPageWidth = kCanvasWidth + 2 * kPageFrame;    // 404
inline constexpr int kPageHeight = kCanvasHeight + 2 * kPageFrame;  // 304

}  // namespace ombrevale
