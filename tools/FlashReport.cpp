#include "tools/FlashReport.h"

#include <cstdio>

namespace ombrevale {

std::string FlashRunName(uint32_t seed, const DateTimeFields& start, double scale, bool limited) {
  char run[160];
  std::snprintf(run, sizeof run, "seed %u from %s, seen at %gx%s", seed,
                FormatDateTime(start).c_str(), scale, limited ? ", limited" : ", not limited");
  return run;
}

FlashReport::FlashReport(int width, int height, double scale, bool limited, int firstFrame,
                         int framesPerSecond)
    : analysis_(width, height, scale),
      drawn_(firstFrame, framesPerSecond),
      shown_(firstFrame, framesPerSecond),
      firstFrame_(firstFrame) {
  if (!limited) return;
  limiter_ = std::make_unique<FlashLimiter>(width, height);
  limiter_->SetShownScale(scale);
}

void FlashReport::Add(const Surface& frame, uint32_t nowMs) {
  drawn_.Add(analysis_.AddFrame(frame, nowMs));
  if (!limiter_) return;
  frame_ = frame;
  const auto start = std::chrono::steady_clock::now();
  limiter_->Limit(frame_, nowMs);
  limiting_ += std::chrono::steady_clock::now() - start;
  shown_.Add(limiter_->LastSecond());
}

std::string FlashReport::LimiterLine() const {
  const FlashLimiter::Figures& done = limiter_->Done();
  const auto share = [](int64_t part, int64_t whole) {
    return whole > 0 ? static_cast<double>(part) / static_cast<double>(whole) : 0.0;
  };
  const int64_t pixels = int64_t{analysis_.Sight().width} * analysis_.Sight().height;
  char line[400];
  std::snprintf(
      line, sizeof line,
      "the flash limiter changed %lld of %lld frames (%.1f %%): %lld pixels, each moved by %.4f "
      "of relative luminance on average (%.4f over a changed frame); %.3f ms a frame\n",
      static_cast<long long>(done.framesChanged), static_cast<long long>(done.frames),
      100 * share(done.framesChanged, done.frames), static_cast<long long>(done.pixelsChanged),
      share(done.luminanceMoved, done.pixelsChanged) / kFullLight,
      share(done.luminanceMoved, done.framesChanged * pixels) / kFullLight,
      std::chrono::duration<double, std::milli>(limiting_).count() /
          static_cast<double>(done.frames > 0 ? done.frames : 1));
  return line;
}

std::string FlashReport::Lines(const std::string& run, int lastFrame) const {
  char line[400];
  std::snprintf(line, sizeof line, "flashes of the title vision, %s, frames %d to %d: %s\n",
                run.c_str(), firstFrame_, lastFrame, analysis_.Seeing().c_str());
  std::string lines = line;
  if (limiter_) lines += "as drawn, without the limiter: " + drawn_.LastLine() + LimiterLine();
  return lines + Tally().Places() + Tally().LastLine();
}

}  // namespace ombrevale
