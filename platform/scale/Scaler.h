#pragma once

// Whole-factor scaling of the client area for a window larger than it: the largest whole factor
// that fits, centred, and a scaler that replicates pixels, so that every picture stays crisp.

#include <cstddef>
#include <cstdint>

#include "platform/Rect.h"
#include "platform/Surface.h"

namespace ombrevale {

// Where a picture of `width` x `height` lies in a window of `windowWidth` x `windowHeight` when
// scaled by the largest whole factor that fits, centred; at least `minFactor` (and 1), so a window
// smaller than the picture at that factor shows its top-left part.
struct WholeFactorFit {
  int factor = 1;
  Rect area;  // the scaled picture, in window pixels

  // The picture's pixel under window pixel (wx, wy); outside the picture when the window pixel
  // lies in the border (negative, or past the picture's size).
  int ToPictureX(int wx) const;
  int ToPictureY(int wy) const;
};
WholeFactorFit FitWholeFactor(int windowWidth, int windowHeight, int width, int height,
                              int minFactor = 1);

// Scales `height` rows of `width` pixels at `src` (rows `srcPitch` bytes apart) by `factor` into
// `dst` (rows `dstPitch` bytes apart): each pixel becomes a `factor` x `factor` block. Each row is
// widened once into the first of its output rows, which is then copied down. `dst` must hold
// `height * factor` rows of `width * factor` pixels; the pixels around them are not touched.
void ScaleWhole(const Pixel* src, size_t srcPitch, int width, int height, int factor, Pixel* dst,
                size_t dstPitch);

}  // namespace ombrevale
