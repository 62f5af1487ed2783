// How fast a frame is scaled for a large window: the client area (404 x 324) scaled 2x, 3x and 6x
// by the pixel-replicating scaler, against a memcpy of the output's bytes in the same run.
// The goal is at most 1.5 times the memcpy.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/scale/Scaler.h"

namespace ombrevale {
namespace {

constexpr int kWidth = 404, kHeight = 324;

std::vector<Pixel> Client() {
  std::vector<Pixel> pixels(static_cast<size_t>(kWidth) * kHeight);
  uint32_t x = 7;
  for (Pixel& p : pixels) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    p = x & 0x00FFFFFF;
  }
  return pixels;
}

void ScaleClient(benchmark::State& state) {
  const int factor = static_cast<int>(state.range(0));
  const std::vector<Pixel> client = Client();
  std::vector<Pixel> out(client.size() * factor * factor);
  for (auto _ : state) {
    ScaleWhole(client.data(), kWidth * sizeof(Pixel), kWidth, kHeight, factor, out.data(),
               static_cast<size_t>(kWidth) * factor * sizeof(Pixel));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * out.size() * sizeof(Pixel)));
}

// The same bytes as the scaled output, copied whole.
void MemcpyScaledBytes(benchmark::State& state) {
  const int factor = static_cast<int>(state.range(0));
  const std::vector<Pixel> from(static_cast<size_t>(kWidth) * kHeight * factor * factor, 1);
  std::vector<Pixel> to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(Pixel));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * from.size() * sizeof(Pixel)));
}

BENCHMARK(MemcpyScaledBytes)->Arg(2)->Arg(3)->Arg(6);
BENCHMARK(ScaleClient)->Arg(2)->Arg(3)->Arg(6);

}  // namespace
}  // namespace ombrevale
