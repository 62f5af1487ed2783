#include "tools/FlashReport.h"

#include <cstdio>

namespace ombrevale {

FlashReport::FlashReport(int width, int height, double scale, bool limited, int firstFrame,
                         int framesPerSecond)
    : tally_(firstFrame, framesPerSecond), firstFrame_(firstFrame) {
  if (limited) {
    limiter_ = std::make_unique<FlashLimiter>(width, height);
    limiter_->SetShownScale(scale);
  } else {
    analysis_ = std::make_unique<FlashAnalysis>(width, height, scale);
  }
}

void FlashReport::Add(const Surface& frame, uint32_t nowMs) {
  if (!limiter_) {
    tally_.Add(analysis_->AddFrame(frame, nowMs));
    return;
  }
  shown_ = frame;
  const auto start = std::chrono::steady_clock::now();
  limiter_->Limit(shown_, nowMs);
  limiting_ += std::chrono::steady_clock::now() - start;
  tally_.Add(limiter_->LastSecond());
}

std::string FlashReport::Lines(const std::string& run, int lastFrame) const {
  const FlashAnalysis& count = limiter_ ? limiter_->Count() : *analysis_;
  char line[400];
  std::snprintf(line, sizeof line, "flashes of the title vision, %s, frames %d to %d: %s\n",
                run.c_str(), firstFrame_, lastFrame, count.Seeing().c_str());
  std::string lines = line;
  lines += tally_.Places();
  if (limiter_) {
    const FlashLimiter::Figures& done = limiter_->Done();
    const double frames = static_cast<double>(done.frames > 0 ? done.frames : 1);
    const double pixels = static_cast<double>(done.pixelsChanged > 0 ? done.pixelsChanged : 1);
    std::snprintf(line, sizeof line,
                  "the flash limiter changed %lld of %lld frames (%.1f %%), %lld pixels, each by "
                  "%.4f of relative luminance on average, in %.3f ms a frame\n",
                  static_cast<long long>(done.framesChanged), static_cast<long long>(done.frames),
                  100.0 * static_cast<double>(done.framesChanged) / frames,
                  static_cast<long long>(done.pixelsChanged),
                  static_cast<double>(done.luminanceMoved) / kFullLight / pixels,
                  std::chrono::duration<double, std::milli>(limiting_).count() / frames);
    lines += line;
  } else {
    lines += "not limited: the frames as drawn\n";
  }
  return lines + tally_.LastLine();
}

}  // namespace ombrevale
