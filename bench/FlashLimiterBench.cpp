// How long the flash limiter takes over a frame, at every size the vision is shown at (1x to 8x):
//   - on the title vision's own frames (seed 1, the first 30 seconds: the face, the views, the
//     television and its noise), each frame in turn, as the program passes them;
//   - on the worst cases: the whole canvas turning from black to white every frame, every pixel
//     new noise every frame, each a transition the limiter must hold;
//   - the count alone, without limiting, on the vision's frames.
//
//   build/ombrevale-flash-bench          (run from the repository root: renders from dat/)
//   build/ombrevale-flash-bench --benchmark_filter=Vision
//
// The goal is at most 0.5 ms a frame at every size.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "platform/PageLayout.h"
#include "platform/flash/FlashAnalysis.h"
#include "platform/flash/FlashLimiter.h"
#include "tools/Render.h"

namespace ombrevale {
namespace {

constexpr int kVisionFrames = 1500, kWorstFrames = 64;

// The vision's frames, rendered once; none without dat/.
const std::vector<Surface>& VisionFrames() {
  static const std::vector<Surface> frames = [] {
    std::vector<Surface> all;
    if (!std::filesystem::is_directory("dat")) return all;
    RenderFrames({1, kVisionFrames, RenderOptions{}.start},
                 [&](int, const Surface& frame) { all.push_back(frame); });
    return all;
  }();
  return frames;
}

// Black and white in turn, and new noise in every frame.
std::vector<Surface> WorstFrames(bool noise) {
  std::vector<Surface> frames;
  uint32_t state = 2463534242u;
  for (int i = 0; i < kWorstFrames; ++i) {
    Surface frame(kCanvasWidth, kCanvasHeight, i % 2 ? Rgb(255, 255, 255) : 0);
    if (noise) {
      for (int y = 0; y < kCanvasHeight; ++y)
        for (int x = 0; x < kCanvasWidth; ++x) {
          state ^= state << 13, state ^= state >> 17, state ^= state << 5;
          frame.Set(x, y, state & 0xFFFFFF);
        }
    }
    frames.push_back(std::move(frame));
  }
  return frames;
}

double ScaleOf(const benchmark::State& state) {
  return static_cast<double>(state.range(0)) / 10;
}

// Passes `frames` in turn through a limiter, each as a fresh copy, 20 ms apart.
void LimitFrames(benchmark::State& state, const std::vector<Surface>& frames) {
  if (frames.empty()) {
    state.SkipWithError("no dat/ here: run from the repository root");
    return;
  }
  FlashLimiter limiter(kCanvasWidth, kCanvasHeight);
  limiter.SetShownScale(ScaleOf(state));
  Surface frame;
  uint32_t now = 1000;
  size_t next = 0;
  for (auto _ : state) {
    state.PauseTiming();
    frame = frames[next];
    next = (next + 1) % frames.size();
    state.ResumeTiming();
    benchmark::DoNotOptimize(limiter.Limit(frame, now += 20));
  }
  const FlashLimiter::Figures& done = limiter.Done();
  state.counters["changed"] =
      static_cast<double>(done.framesChanged) / static_cast<double>(done.frames);
}

void Vision(benchmark::State& state) {
  LimitFrames(state, VisionFrames());
}

void WorstFlicker(benchmark::State& state) {
  LimitFrames(state, WorstFrames(false));
}

void WorstNoise(benchmark::State& state) {
  LimitFrames(state, WorstFrames(true));
}

void CountVision(benchmark::State& state) {
  const std::vector<Surface>& frames = VisionFrames();
  if (frames.empty()) {
    state.SkipWithError("no dat/ here: run from the repository root");
    return;
  }
  FlashAnalysis count(kCanvasWidth, kCanvasHeight, ScaleOf(state));
  uint32_t now = 1000;
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(count.AddFrame(frames[next], now += 20));
    next = (next + 1) % frames.size();
  }
}

// The sizes, in tenths.
void Sizes(benchmark::internal::Benchmark* b) {
  for (const int tenths : {10, 15, 20, 30, 40, 60, 80}) b->Arg(tenths);
  b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(Vision)->Apply(Sizes);
BENCHMARK(WorstFlicker)->Apply(Sizes);
BENCHMARK(WorstNoise)->Apply(Sizes);
BENCHMARK(CountVision)->Apply(Sizes);

}  // namespace
}  // namespace ombrevale

BENCHMARK_MAIN();
