#include "platform/flash/FlashRows.h"

#include <algorithm>

#include "platform/flash/FlashVectors.h"

namespace ombrevale {

namespace {

// The pixels' colours in, their light and transitions out: plain arrays, so that nothing stands
// between the loop and vector code.
struct MeasureArrays {
  const Pixel* __restrict pixels;
  uint16_t* __restrict luminance;
  uint16_t* __restrict red;
  uint8_t* __restrict saturated;
  const uint16_t* __restrict low;
  const uint16_t* __restrict high;
  const int8_t* __restrict way;
  const uint16_t* __restrict redLow;
  const uint16_t* __restrict redHigh;
  const int8_t* __restrict redWay;
  const uint8_t* __restrict ends;
  int8_t* __restrict general;
  int8_t* __restrict reds;
};

// The same measures and rule as FlashLight.h and FlashSwing.h, on 16-bit numbers: what a vector
// of them computes, sixteen pixels or more at a time.
inline uint16_t Less(uint16_t a, uint16_t b) {  // a - b, or 0 where b is larger
  return static_cast<uint16_t>((a > b ? a : b) - b);
}
inline uint16_t Part(uint16_t channel, uint32_t weight) {
  return static_cast<uint16_t>((channel * weight) >> 16);
}

// The channels of `count` (up to kChunk) pixels in linear light, one table look-up each: plain
// loads, which vector code would only emulate one by one.
constexpr size_t kChunk = 256;
#if defined(__GNUC__) && !defined(__clang__)
__attribute__((optimize("no-tree-vectorize")))
#endif
void LinearChannels(const Pixel* __restrict px, size_t count, uint16_t* __restrict r,
                    uint16_t* __restrict g, uint16_t* __restrict b) {
  const int* __restrict units = LinearUnits();
  for (size_t i = 0; i < count; ++i) {
    const Pixel p = px[i];
    r[i] = static_cast<uint16_t>(units[(p >> 16) & 0xFF]);
    g[i] = static_cast<uint16_t>(units[(p >> 8) & 0xFF]);
    b[i] = static_cast<uint16_t>(units[p & 0xFF]);
  }
}

OMBREVALE_FLASH_VECTORS
TurnCounts MeasureChunk(const MeasureArrays a, const uint16_t* __restrict r,
                        const uint16_t* __restrict g, const uint16_t* __restrict b, size_t count,
                        uint16_t keep) {
  uint16_t* __restrict luminance = a.luminance;
  uint16_t* __restrict red = a.red;
  uint8_t* __restrict saturated = a.saturated;
  const uint16_t* __restrict low = a.low;
  const uint16_t* __restrict high = a.high;
  const int8_t* __restrict way = a.way;
  const uint16_t* __restrict redLow = a.redLow;
  const uint16_t* __restrict redHigh = a.redHigh;
  const int8_t* __restrict redWay = a.redWay;
  const uint8_t* __restrict ends = a.ends;
  int8_t* __restrict general = a.general;
  int8_t* __restrict reds = a.reds;
  uint16_t generalCount = 0, redCount = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint16_t R = r[i], G = g[i], B = b[i];
    const uint16_t v = static_cast<uint16_t>(Part(R, 13933u) + Part(G, 46871u) + Part(B, 4732u));
    const uint16_t m = Less(Less(R, G), B);
    // R / 4 >= G + B, without a sum that could leave 16 bits.
    const uint16_t quarter = static_cast<uint16_t>(R >> 2);
    const uint16_t sat = static_cast<uint16_t>((R != 0) & (G <= quarter) & (B <= Less(quarter, G)));
    luminance[i] = v;
    red[i] = m;
    saturated[i] = static_cast<uint8_t>(sat);
    const int16_t w = way[i], rw = redWay[i];
    const uint16_t e = ends[i];
    const uint16_t fall =
        static_cast<uint16_t>((w >= 0) & (Less(high[i], v) >= kLuminanceStep) & (v < kDarkLimit));
    const uint16_t rise = static_cast<uint16_t>((w <= 0) & (Less(v, low[i]) >= kLuminanceStep) &
                                                (low[i] < kDarkLimit));
    const uint16_t redFall =
        static_cast<uint16_t>((rw >= 0) & (Less(redHigh[i], m) >= kRedStep) & ((e >> 1) | sat));
    const uint16_t redRise =
        static_cast<uint16_t>((rw <= 0) & (Less(m, redLow[i]) >= kRedStep) & ((e & 1) | sat));
    // A fall where both could be; nothing before a first frame.
    const uint16_t up = static_cast<uint16_t>(rise & (fall ^ 1) & keep), down = fall & keep;
    const uint16_t redUp = static_cast<uint16_t>(redRise & (redFall ^ 1) & keep),
                   redDown = redFall & keep;
    general[i] = static_cast<int8_t>(up - down);
    reds[i] = static_cast<int8_t>(redUp - redDown);
    generalCount = static_cast<uint16_t>(generalCount + (up | down));
    redCount = static_cast<uint16_t>(redCount + (redUp | redDown));
  }
  return {generalCount, redCount};
}

TurnCounts MeasureRun(MeasureArrays a, size_t count, int started) {
  // The look-ups first, a chunk at a time, then the measures, which run as vector code.
  uint16_t r[kChunk], g[kChunk], b[kChunk];
  TurnCounts counts;
  for (size_t done = 0; done < count; done += kChunk) {
    const size_t n = std::min(kChunk, count - done);
    LinearChannels(a.pixels + done, n, r, g, b);
    const MeasureArrays at{a.pixels + done,  a.luminance + done, a.red + done,  a.saturated + done,
                           a.low + done,     a.high + done,      a.way + done,  a.redLow + done,
                           a.redHigh + done, a.redWay + done,    a.ends + done, a.general + done,
                           a.reds + done};
    const TurnCounts chunk = MeasureChunk(at, r, g, b, n, static_cast<uint16_t>(started));
    counts.general += chunk.general;
    counts.red += chunk.red;
  }
  return counts;
}

// The light measured and its transitions in, each pixel's memory moved on.
struct StepArrays {
  const uint16_t* __restrict luminance;
  const uint16_t* __restrict red;
  const uint8_t* __restrict saturated;
  const int8_t* __restrict general;
  const int8_t* __restrict reds;
  uint16_t* __restrict low;
  uint16_t* __restrict high;
  int8_t* __restrict way;
  uint16_t* __restrict redLow;
  uint16_t* __restrict redHigh;
  int8_t* __restrict redWay;
  uint8_t* __restrict ends;
};

// `a` where `mask` is all ones, `b` where it is none: a choice without a branch.
template <typename T>
inline T Choose(T mask, T a, T b) {
  return static_cast<T>((a & mask) | (b & ~mask));
}

OMBREVALE_FLASH_VECTORS
void StepRun(const StepArrays a, size_t count, int started) {
  const uint16_t* __restrict luminance = a.luminance;
  const uint16_t* __restrict red = a.red;
  const uint8_t* __restrict saturated = a.saturated;
  const int8_t* __restrict general = a.general;
  const int8_t* __restrict reds = a.reds;
  uint16_t* __restrict low = a.low;
  uint16_t* __restrict high = a.high;
  int8_t* __restrict way = a.way;
  uint16_t* __restrict redLow = a.redLow;
  uint16_t* __restrict redHigh = a.redHigh;
  int8_t* __restrict redWay = a.redWay;
  uint8_t* __restrict ends = a.ends;
  // A first frame starts every swing at its light; after it, a turn does.
  const uint16_t fresh = started ? 0 : 0xFFFF;
  const int8_t keepWay = static_cast<int8_t>(started ? -1 : 0);
  for (size_t i = 0; i < count; ++i) {
    const uint16_t v = luminance[i], m = red[i];
    const int8_t g = general[i], r = reds[i];
    const uint16_t turned = static_cast<uint16_t>(-static_cast<int16_t>(g != 0) | fresh);
    const uint16_t redTurned = static_cast<uint16_t>(-static_cast<int16_t>(r != 0) | fresh);
    low[i] = Choose<uint16_t>(turned, v, low[i] < v ? low[i] : v);
    high[i] = Choose<uint16_t>(turned, v, high[i] > v ? high[i] : v);
    way[i] = static_cast<int8_t>(g != 0 ? g : way[i] & keepWay);
    // The red ends: a new lowest or highest takes the colour's saturation with it.
    const uint16_t lower = static_cast<uint16_t>(-static_cast<int16_t>(m < redLow[i]) | redTurned);
    const uint16_t higher =
        static_cast<uint16_t>(-static_cast<int16_t>(m > redHigh[i]) | redTurned);
    redLow[i] = Choose<uint16_t>(lower, m, redLow[i]);
    redHigh[i] = Choose<uint16_t>(higher, m, redHigh[i]);
    redWay[i] = static_cast<int8_t>(r != 0 ? r : redWay[i] & keepWay);
    const uint8_t sat = saturated[i], end = ends[i];
    const uint8_t lowEnd = Choose<uint8_t>(static_cast<uint8_t>(lower), sat, end & 1);
    const uint8_t highEnd = Choose<uint8_t>(static_cast<uint8_t>(higher), sat, end >> 1);
    ends[i] = static_cast<uint8_t>(lowEnd | highEnd << 1);
  }
}

}  // namespace

PixelPlanes::PixelPlanes(size_t pixels)
    : low(pixels),
      high(pixels),
      redLow(pixels),
      redHigh(pixels),
      way(pixels),
      redWay(pixels),
      redSaturated(pixels),
      luminance(pixels),
      red(pixels),
      saturated(pixels),
      turns{std::vector<int8_t>(pixels), std::vector<int8_t>(pixels)} {}

void PixelPlanes::Measure(size_t i, Pixel p) {
  MeasurePixels(*this, i, 1, &p, true);
}

TurnCounts MeasurePixels(PixelPlanes& planes, size_t first, size_t count, const Pixel* pixels,
                         bool started) {
  PixelPlanes& p = planes;
  const size_t i = first;
  return MeasureRun({pixels, &p.luminance[i], &p.red[i], &p.saturated[i], &p.low[i], &p.high[i],
                     &p.way[i], &p.redLow[i], &p.redHigh[i], &p.redWay[i], &p.redSaturated[i],
                     &p.turns[0][i], &p.turns[1][i]},
                    count, started ? 1 : 0);
}

void StepPixels(PixelPlanes& planes, bool started) {
  PixelPlanes& p = planes;
  StepRun({p.luminance.data(), p.red.data(), p.saturated.data(), p.turns[0].data(),
           p.turns[1].data(), p.low.data(), p.high.data(), p.way.data(), p.redLow.data(),
           p.redHigh.data(), p.redWay.data(), p.redSaturated.data()},
          p.low.size(), started ? 1 : 0);
}

}  // namespace ombrevale
