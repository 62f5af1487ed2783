// How fast the blitter combines a whole canvas, and the pieces a vision frame is made of.

#include <benchmark/benchmark.h>

#include "platform/Surface.h"

namespace ombrevale {
namespace {

Surface Noise(int w, int h) {
  Surface s(w, h);
  uint32_t x = 2463534242u;
  for (int y = 0; y < h; ++y)
    for (int i = 0; i < w; ++i) {
      x ^= x << 13;
      x ^= x >> 17;
      x ^= x << 5;
      s.Set(i, y, x & 0x00FFFFFF);
    }
  return s;
}

void WholeCanvas(benchmark::State& state, uint32_t rop, int dx, int dy) {
  Surface canvas = Noise(400, 300);
  const Surface picture = Noise(400, 300);
  for (auto _ : state) {
    BitBlt(canvas, dx, dy, 400, 300, picture, 0, 0, rop);
    benchmark::DoNotOptimize(canvas.Row(0));
  }
  state.SetBytesProcessed(state.iterations() * 400 * 300 * 4);
}

void NoiseBlocks(benchmark::State& state) {
  Surface canvas = Noise(400, 300);
  const Surface noise = Noise(100, 75);
  for (auto _ : state) {
    for (int i = 0; i < 101; ++i) {
      BitBlt(canvas, (i * 37) % 401, (i * 53) % 301, 25, 25, noise, (i * 7) % 76, (i * 11) % 51,
             SRCINVERT);
    }
    benchmark::DoNotOptimize(canvas.Row(0));
  }
}

BENCHMARK_CAPTURE(WholeCanvas, copy, SRCCOPY, 0, 0);
BENCHMARK_CAPTURE(WholeCanvas, or, SRCPAINT, 0, 0);
BENCHMARK_CAPTURE(WholeCanvas, and, SRCAND, 0, 0);
BENCHMARK_CAPTURE(WholeCanvas, xor, SRCINVERT, 0, 0);
BENCHMARK_CAPTURE(WholeCanvas, or_jittered_1_2, SRCPAINT, 1, 2);
BENCHMARK(NoiseBlocks);

}  // namespace
}  // namespace ombrevale

BENCHMARK_MAIN();
