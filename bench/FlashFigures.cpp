// The flash figures of many sizes from one rendering: renders a seed's frames of the title vision
// once and counts them at each size as `ombrevale-render --flashes --scale S` does, writing the
// lines the renderer would print for each into a file of their own, for bench/flash_figures.
//
//   build/ombrevale-flash-figures SEED FRAMES DIR SCALE...   (from the repository root)
//
// writes DIR/new-SEED-SCALE.txt for each SCALE.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/PageLayout.h"
#include "tools/FlashReport.h"
#include "tools/Render.h"

int main(int argc, char** argv) {
  using namespace ombrevale;
  if (argc < 5) {
    std::fputs("usage: ombrevale-flash-figures SEED FRAMES DIR SCALE...\n", stderr);
    return 2;
  }
  const auto seed = static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10));
  const int frames = std::atoi(argv[2]);
  const std::string folder = argv[3];
  // The frames as drawn: each report passes them through a limiter at its own size.
  const RenderOptions options{seed, frames, RenderOptions{}.start, 1, /*flashLimit=*/false};
  constexpr int kFramesPerSecond = 1000 / kRenderStepMs;
  std::vector<std::string> scales(argv + 4, argv + argc);
  std::vector<std::unique_ptr<FlashReport>> reports;
  for (const std::string& scale : scales)
    reports.push_back(std::make_unique<FlashReport>(kCanvasWidth, kCanvasHeight,
                                                    std::strtod(scale.c_str(), nullptr), true, 0,
                                                    kFramesPerSecond));
  RenderFrames(options, [&](int i, const Surface& frame) {
    for (auto& report : reports) report->Add(frame, static_cast<uint32_t>(i * kRenderStepMs));
  });
  for (size_t k = 0; k < scales.size(); ++k) {
    const double scale = std::strtod(scales[k].c_str(), nullptr);
    const std::string path = folder + "/new-" + argv[1] + "-" + scales[k] + ".txt";
    FILE* out = std::fopen(path.c_str(), "w");
    if (out == nullptr) {
      std::perror(path.c_str());
      return 1;
    }
    std::fputs(
        reports[k]->Lines(FlashRunName(seed, options.start, scale, true), frames - 1).c_str(), out);
    std::fclose(out);
  }
  return 0;
}
