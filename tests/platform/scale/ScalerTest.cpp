#include "platform/scale/Scaler.h"

#include <gtest/gtest.h>

#include <vector>

namespace ombrevale {
namespace {

TEST(Scaler, EveryFactorReplicatesEachPixelIntoItsBlockAndTouchesNothingElse) {
  // Odd widths, so that the vectorised widening meets rows that are not a multiple of its step,
  // and pitches with room on both sides, so that a write past a row shows.
  for (int factor = 1; factor <= 9; ++factor) {
    for (int width : {1, 2, 3, 5, 7, 404}) {
      const int height = 3, srcPitch = width + 3, margin = 5;
      std::vector<Pixel> src(static_cast<size_t>(srcPitch) * height);
      for (size_t i = 0; i < src.size(); ++i) src[i] = 0x00100000u + static_cast<Pixel>(i * 7);
      const int outWidth = width * factor, outHeight = height * factor;
      const int dstPitch = outWidth + 2 * margin;
      const Pixel untouched = 0xDEADBEEF;
      std::vector<Pixel> dst(static_cast<size_t>(dstPitch) * (outHeight + 2), untouched);
      Pixel* first = dst.data() + dstPitch + margin;  // one row and `margin` pixels in
      ScaleWhole(src.data(), srcPitch * sizeof(Pixel), width, height, factor, first,
                 dstPitch * sizeof(Pixel));

      for (int y = 0; y < outHeight + 2; ++y) {
        for (int x = 0; x < dstPitch; ++x) {
          const int ox = x - margin, oy = y - 1;
          const bool inside = ox >= 0 && oy >= 0 && ox < outWidth && oy < outHeight;
          const Pixel want =
              inside ? src[static_cast<size_t>(oy / factor) * srcPitch + ox / factor] : untouched;
          ASSERT_EQ(dst[static_cast<size_t>(y) * dstPitch + x], want)
              << "factor " << factor << ", width " << width << ", at (" << ox << ", " << oy << ")";
        }
      }
    }
  }
}

TEST(Scaler, TheLargestWholeFactorThatFitsIsCentredAndMapsPointsBack) {
  const WholeFactorFit natural = FitWholeFactor(404, 324, 404, 324);
  EXPECT_EQ(natural.factor, 1);
  EXPECT_EQ(natural.area, (Rect{0, 0, 404, 324}));

  // 1920 x 1080: three times fits (1212 x 972), four times is too tall.
  const WholeFactorFit hd = FitWholeFactor(1920, 1080, 404, 324);
  EXPECT_EQ(hd.factor, 3);
  EXPECT_EQ(hd.area, (Rect{(1920 - 1212) / 2, (1080 - 972) / 2, 1212, 972}));
  EXPECT_EQ(FitWholeFactor(3840, 2160, 404, 324).factor, 6);

  // A window pixel maps to the pixel whose block it lies in; the border lies outside.
  EXPECT_EQ(hd.ToPictureX(hd.area.x), 0);
  EXPECT_EQ(hd.ToPictureX(hd.area.x + 2), 0);
  EXPECT_EQ(hd.ToPictureX(hd.area.x + 3), 1);
  EXPECT_EQ(hd.ToPictureX(hd.area.x - 1), -1);
  EXPECT_EQ(hd.ToPictureY(hd.area.y + hd.area.h), 324);

  // A window smaller than the picture shows its top-left part at the natural size.
  const WholeFactorFit small = FitWholeFactor(300, 200, 404, 324);
  EXPECT_EQ(small.factor, 1);
  EXPECT_EQ(small.area, (Rect{0, 0, 404, 324}));

  // Never below the page's own factor: 2 on a scaled desktop, in a window that would fit 3, or
  // that has not yet grown to 2 (its top-left part shows, at 2).
  EXPECT_EQ(FitWholeFactor(1920, 1080, 404, 324, 2).factor, 3);
  const WholeFactorFit growing = FitWholeFactor(500, 400, 404, 324, 2);
  EXPECT_EQ(growing.factor, 2);
  EXPECT_EQ(growing.area, (Rect{0, 0, 808, 648}));
}

}  // namespace
}  // namespace ombrevale
