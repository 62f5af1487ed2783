#include "platform/flash/FlashLimiter.h"

#include <algorithm>
#include <cstdlib>

#include "platform/flash/FlashHold.h"
#include "platform/flash/FlashVectors.h"

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
      rowNeed_(static_cast<size_t>(width)),
      rowHeld_(static_cast<size_t>(width)),
      rowWanted_(static_cast<size_t>(width)),
      marks_(static_cast<size_t>(width + 1) * (height + 1)),
      columns_(static_cast<size_t>(width) + 1) {}

void FlashLimiter::SetShownScale(double scale) {
  if (scale == analysis_.Sight().scale) return;
  analysis_.SetScale(scale);
  for (auto& budget : budgets_) budget.Replace(analysis_.Sight().Places());
}

bool FlashLimiter::MarkRefused() {
  const FlashSight& sight = analysis_.Sight();
  bool any = false;
  for (int k = 0; k < FlashAnalysis::kKinds; ++k) {
    if (analysis_.Found(k) == 0) continue;
    refused_.resize(static_cast<size_t>(sight.Places()));
    if (budgets_[k].Refuse(analysis_.Hits(k), analysis_.Seconds(k).Counts(), kMostPerSecond,
                           refused_.data()) == 0)
      continue;
    if (!any) {
      std::fill(held_.begin(), held_.end(), 0);
      heldRows_ = {height_, -1};
    }
    any = true;
    for (int py = 0; py < sight.placesDown; ++py) {
      const uint8_t* row = refused_.data() + static_cast<size_t>(py) * sight.placesAcross;
      for (int px = 0; px < sight.placesAcross; ++px) {
        if (row[px] == 0) continue;
        const int first = px;
        while (px + 1 < sight.placesAcross && row[px + 1] != 0) ++px;
        MarkReach(first, px, py);
      }
    }
    HeldWhereMarked(static_cast<uint8_t>(1 << k));
  }
  return any;
}

void FlashLimiter::MarkReach(int first, int last, int py) {
  // The fields of the places `first` to `last` of row `py`, and the half degree around them: the
  // pixels whose transitions weigh in them.
  const FlashSight& sight = analysis_.Sight();
  const int reach = sight.net / 2;
  const size_t stride = static_cast<size_t>(width_) + 1;
  const int x0 = std::max(0, first - reach), x1 = std::min(width_, last + sight.fieldWidth + reach);
  const int y0 = std::max(0, py - reach), y1 = std::min(height_, py + sight.fieldHeight + reach);
  marks_[y0 * stride + x0] += 1;
  marks_[y0 * stride + x1] -= 1;
  marks_[y1 * stride + x0] -= 1;
  marks_[y1 * stride + x1] += 1;
  marked_ = {std::min(marked_.first, y0), std::max(marked_.second, y1)};
  markedLeft_ = std::min(markedLeft_, x0);
  markedRight_ = std::max(markedRight_, x1);
}

void FlashLimiter::HeldWhereMarked(uint8_t bit) {
  // Added up down the columns, then along each row, the difference table tells each pixel how
  // many refused fields reach it; the rows marked are cleared on the way for the next time. Only
  // the columns the marks span are looked at.
  const size_t stride = static_cast<size_t>(width_) + 1;
  const int left = markedLeft_, right = std::min(markedRight_, width_);
  std::fill(columns_.begin(), columns_.end(), 0);
  const int last = std::min(marked_.second, height_ - 1);
  for (int y = marked_.first; y <= last; ++y) {
    int32_t* __restrict marks = marks_.data() + y * stride;
    int32_t* __restrict columns = columns_.data();
    for (int x = left; x < right; ++x) columns[x] += marks[x];
    std::fill(marks + left, marks + stride, 0);
    uint8_t* __restrict held = held_.data() + static_cast<size_t>(y) * width_;
    int32_t reaching = 0;
    for (int x = left; x < right; ++x) {
      reaching += columns[x];
      held[x] = static_cast<uint8_t>(held[x] | (reaching > 0 ? bit : 0));
    }
  }
  if (marked_.second == height_)
    std::fill(marks_.end() - static_cast<long>(stride), marks_.end(), 0);
  heldRows_ = {std::min(heldRows_.first, marked_.first), std::max(heldRows_.second, last)};
  marked_ = {height_, -1};
  markedLeft_ = width_;
  markedRight_ = 0;
}

void FlashLimiter::Hold(Surface& frame) {
  const int8_t* general = analysis_.Turns(FlashAnalysis::kGeneral);
  const int8_t* red = analysis_.Turns(FlashAnalysis::kRed);
  for (int y = heldRows_.first; y <= heldRows_.second; ++y) {
    const size_t start = static_cast<size_t>(y) * width_;
    if (!HeldInRow(start)) continue;
    const Pixel* shown = analysis_.LastShown().Row(y);
    Pixel* row = frame.Row(y);
    const int* held = rowHeld_.data();
    const size_t count = rowHeldCount_;
    for (size_t k = 0; k < count; ++k) rowWanted_[held[k]] = analysis_.LightAt(start + held[k]);
    HoldPixels(analysis_.Planes(), start, held, count, shown, row);
    // A few pixels are measured again one by one, many with their whole row as vector code.
    if (count * 8 < static_cast<size_t>(width_)) {
      for (size_t k = 0; k < count; ++k) analysis_.Retake(held[k], y, row[held[k]]);
    } else {
      analysis_.RetakeRow(y, row);
    }
    for (size_t k = 0; k < count; ++k) {
      const int x = held[k];
      // Rounded to 8 bits, a blend may still reach a transition: the colour shown before cannot.
      if (general[start + x] != 0 || red[start + x] != 0) {
        row[x] = shown[x];
        analysis_.Retake(x, y, row[x]);
      }
      figures_.luminanceMoved += std::abs(analysis_.LightAt(start + x) - rowWanted_[x]);
    }
    figures_.pixelsChanged += static_cast<int64_t>(count);
    changed_ = true;
  }
}

OMBREVALE_FLASH_VECTORS
bool FlashLimiter::HeldInRow(size_t start) {
  // Which pixels of the row would make a transition of a kind they are held for, first in a loop
  // that runs as vector code, then listed.
  const int8_t* __restrict general = analysis_.Turns(FlashAnalysis::kGeneral) + start;
  const int8_t* __restrict red = analysis_.Turns(FlashAnalysis::kRed) + start;
  const uint8_t* __restrict held = held_.data() + start;
  uint8_t* __restrict need = rowNeed_.data();
  uint8_t any = 0;
  for (int x = 0; x < width_; ++x) {
    need[x] = static_cast<uint8_t>(held[x] & ((general[x] != 0) | (red[x] != 0) << 1));
    any |= need[x];
  }
  if (any == 0) return false;
  // The list grows only where the mask says: a row of 400 pixels is one pass either way.
  int* listed = rowHeld_.data();
  size_t count = 0;
  for (int x = 0; x < width_; ++x) {
    listed[count] = x;
    count += need[x] != 0;
  }
  rowHeldCount_ = count;
  return true;
}

void FlashLimiter::Spend() {
  for (int k = 0; k < FlashAnalysis::kKinds; ++k)
    if (analysis_.Found(k) != 0)
      budgets_[k].Spend(analysis_.Hits(k), analysis_.Sight().placesAcross,
                        analysis_.Sight().fieldWidth / 2, analysis_.Sight().fieldHeight / 2);
}

bool FlashLimiter::Limit(Surface& frame, uint32_t nowMs) {
  changed_ = false;
  analysis_.Look(frame, nowMs);
  const int64_t now = analysis_.NowMs();
  for (auto& budget : budgets_) budget.Pass(now);
  if (analysis_.Started()) {
    for (int round = 0; MarkRefused(); ++round) {
      if (round >= kRounds) std::fill(held_.begin(), held_.end(), kEveryKind);
      Hold(frame);
      analysis_.FindFields();
    }
  }
  second_ = analysis_.Commit(frame);
  Spend();
  ++figures_.frames;
  if (changed_) ++figures_.framesChanged;
  return changed_;
}

}  // namespace ombrevale
