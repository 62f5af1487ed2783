#include "platform/scale/Scaler.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ombrevale {
namespace {

// Floor division, so that the border left of or above the picture maps to negative pixels.
int FloorDiv(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// One source row, each pixel written `factor` times.
void WidenRow(const Pixel* __restrict in, int width, int factor, Pixel* __restrict out) {
  if (factor == 1) {
    std::memcpy(out, in, static_cast<size_t>(width) * sizeof(Pixel));
    return;
  }
  int x = 0;
#if defined(__SSE2__)
  if (factor == 2) {
    // Four pixels become eight: two interleaves of the pixels with themselves.
    for (; x + 4 <= width; x += 4) {
      const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * x), _mm_unpacklo_epi32(p, p));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * x + 4), _mm_unpackhi_epi32(p, p));
    }
  } else if (factor >= 4) {
    // A pixel's block is whole 16-byte stores of it, the last one ending on the block's end;
    // blocks that are not a multiple of four pixels overlap their own stores, never the next.
    for (; x < width; ++x) {
      const __m128i p = _mm_set1_epi32(static_cast<int>(in[x]));
      Pixel* block = out + static_cast<size_t>(x) * factor;
      int j = 0;
      for (; j + 4 <= factor; j += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(block + j), p);
      if (j < factor) _mm_storeu_si128(reinterpret_cast<__m128i*>(block + factor - 4), p);
    }
  } else {
    // Three: a 16-byte store per pixel, whose fourth pixel the next block overwrites; the last
    // pixel of the row is left to the loop below, so nothing is written past the row.
    for (; x + 1 < width; ++x) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + static_cast<size_t>(x) * 3),
                       _mm_set1_epi32(static_cast<int>(in[x])));
    }
  }
#endif
  for (; x < width; ++x) std::fill_n(out + static_cast<size_t>(x) * factor, factor, in[x]);
}

}  // namespace

int WholeFactorFit::ToPictureX(int wx) const {
  return FloorDiv(wx - area.x, factor);
}

int WholeFactorFit::ToPictureY(int wy) const {
  return FloorDiv(wy - area.y, factor);
}

WholeFactorFit FitWholeFactor(int windowWidth, int windowHeight, int width, int height,
                              int minFactor) {
  WholeFactorFit fit;
  if (width > 0 && height > 0)
    fit.factor = std::max({1, minFactor, std::min(windowWidth / width, windowHeight / height)});
  fit.area =
      Rect{0, 0, width, height}.Scaled(fit.factor).CentredIn({0, 0, windowWidth, windowHeight});
  return fit;
}

void ScaleWhole(const Pixel* src, size_t srcPitch, int width, int height, int factor, Pixel* dst,
                size_t dstPitch) {
  if (width <= 0 || height <= 0 || factor <= 0) return;
  const size_t rowBytes = static_cast<size_t>(width) * factor * sizeof(Pixel);
  auto* out = reinterpret_cast<uint8_t*>(dst);
  const auto* in = reinterpret_cast<const uint8_t*>(src);
  for (int y = 0; y < height; ++y, in += srcPitch) {
    auto* first = reinterpret_cast<Pixel*>(out);
    WidenRow(reinterpret_cast<const Pixel*>(in), width, factor, first);
    out += dstPitch;
    for (int k = 1; k < factor; ++k, out += dstPitch) std::memcpy(out, first, rowBytes);
  }
}

}  // namespace ombrevale
