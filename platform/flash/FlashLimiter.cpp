#include "platform/flash/FlashLimiter.h"

#include <algorithm>
#include <cmath>

#include "platform/flash/FlashHold.h"

namespace ombrevale {

namespace {

// After this many rounds of holding, every pixel that would make a transition is held: a frame
// whose held pixels keep uncovering their neighbours' changes (never seen) still ends.
constexpr int kRounds = 8;
constexpr uint8_t kEveryKind = (1 << FlashAnalysis::kGeneral) | (1 << FlashAnalysis::kRed);

}  // namespace

FlashLimiter::FlashLimiter(int width, int height)
    : width_(width),
      height_(height),
      analysis_(width, height, 1),
      budgets_{FieldBudget(analysis_.Sight().Places()), FieldBudget(analysis_.Sight().Places())},
      held_(static_cast<size_t>(width) * height),
      marks_(static_cast<size_t>(width + 1) * (height + 1)) {}

void FlashLimiter::SetShownScale(double scale) {
  if (scale == analysis_.Sight().scale) return;
  analysis_.SetScale(scale);
  for (auto& budget : budgets_) budget.Replace(analysis_.Sight().Places());
}

bool FlashLimiter::MarkRefused(int64_t nowMs) {
  const FlashSight& sight = analysis_.Sight();
  const int reach = sight.net / 2;
  bool any = false;
  std::fill(held_.begin(), held_.end(), 0);
  for (int k = 0; k < FlashAnalysis::kKinds; ++k) {
    if (analysis_.Found(k) == 0) continue;
    const uint64_t recent = analysis_.Seconds(k).Recent(nowMs);
    const uint8_t bit = static_cast<uint8_t>(1 << k);
    bool refused = false;
    std::fill(marks_.begin(), marks_.end(), 0);
    const size_t stride = static_cast<size_t>(width_) + 1;
    for (int p = 0; p < sight.Places(); ++p) {
      if ((analysis_.Hits()[p] & bit) == 0) continue;
      if (analysis_.Seconds(k).Count(p, recent) < kMostPerSecond && budgets_[k].Allows(p, nowMs))
        continue;
      refused = true;
      // The field and the half degree around it: the pixels whose transitions weigh in it.
      const int x0 = std::max(0, p % sight.placesAcross - reach);
      const int y0 = std::max(0, p / sight.placesAcross - reach);
      const int x1 = std::min(width_, p % sight.placesAcross + sight.fieldWidth + reach);
      const int y1 = std::min(height_, p / sight.placesAcross + sight.fieldHeight + reach);
      marks_[y0 * stride + x0] += 1;
      marks_[y0 * stride + x1] -= 1;
      marks_[y1 * stride + x0] -= 1;
      marks_[y1 * stride + x1] += 1;
    }
    if (!refused) continue;
    any = true;
    // Added up, the difference table tells each pixel how many refused fields reach it.
    for (int y = 0; y < height_; ++y) {
      int32_t* row = marks_.data() + y * stride;
      const int32_t* above = y > 0 ? row - stride : nullptr;
      int32_t run = 0;
      for (int x = 0; x < width_; ++x) {
        run += row[x];
        row[x] = run + (above ? above[x] : 0);
        if (row[x] > 0) held_[static_cast<size_t>(y) * width_ + x] |= bit;
      }
    }
  }
  return any;
}

void FlashLimiter::Hold(Surface& frame) {
  const int8_t* general = analysis_.Turns(FlashAnalysis::kGeneral);
  const int8_t* red = analysis_.Turns(FlashAnalysis::kRed);
  for (int y = 0; y < height_; ++y) {
    const Pixel* shown = analysis_.LastShown().Row(y);
    Pixel* row = nullptr;
    for (int x = 0; x < width_; ++x) {
      const size_t i = static_cast<size_t>(y) * width_ + x;
      const uint8_t turning =
          static_cast<uint8_t>((general[i] != 0 ? 1 : 0) | (red[i] != 0 ? 2 : 0));
      if ((held_[i] & turning) == 0) continue;
      if (row == nullptr) row = frame.Row(y);
      const Pixel wanted = row[x];
      Pixel held = HeldColour(analysis_.Swing(i), shown[x], wanted);
      analysis_.Retake(x, y, held);
      // Rounded to 8 bits, a blend may still reach a transition: the colour shown before cannot.
      if (general[i] != 0 || red[i] != 0) {
        held = shown[x];
        analysis_.Retake(x, y, held);
      }
      row[x] = held;
      changed_ = true;
      ++figures_.pixelsChanged;
      figures_.luminanceMoved += std::fabs(RelativeLuminance(held) - RelativeLuminance(wanted));
    }
  }
}

void FlashLimiter::Spend(int64_t nowMs) {
  const FlashSight& sight = analysis_.Sight();
  for (int k = 0; k < FlashAnalysis::kKinds; ++k) {
    if (analysis_.Found(k) == 0) continue;
    const uint8_t bit = static_cast<uint8_t>(1 << k);
    for (int p = 0; p < sight.Places(); ++p)
      if (analysis_.Hits()[p] & bit) budgets_[k].Spend(p, nowMs);
  }
}

bool FlashLimiter::Limit(Surface& frame, uint32_t nowMs) {
  const int64_t now = analysis_.Unwrapped(nowMs);
  changed_ = false;
  analysis_.Look(frame);
  if (analysis_.Started()) {
    for (int round = 0; MarkRefused(now); ++round) {
      if (round >= kRounds) std::fill(held_.begin(), held_.end(), kEveryKind);
      Hold(frame);
      analysis_.FindFields();
    }
  }
  second_ = analysis_.Commit(frame, nowMs);
  Spend(now);
  ++figures_.frames;
  if (changed_) ++figures_.framesChanged;
  return changed_;
}

}  // namespace ombrevale
