#include "platform/flash/FlashAnalysis.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace ombrevale {

FlashAnalysis::FlashAnalysis(int width, int height, double scale)
    : sight_(width, height, scale),
      finder_(sight_),
      planes_(static_cast<size_t>(width) * height),
      seconds_{FieldSeconds(sight_.Places()), FieldSeconds(sight_.Places())} {
  for (auto& hits : hits_) hits.assign(static_cast<size_t>(sight_.Places()), 0);
}

void FlashAnalysis::SetScale(double scale) {
  if (scale == sight_.scale) return;
  sight_ = FlashSight(sight_.width, sight_.height, scale);
  finder_ = FieldFinder(sight_);
  for (auto& hits : hits_) hits.assign(static_cast<size_t>(sight_.Places()), 0);
  found_[kGeneral] = found_[kRed] = 0;
  for (auto& seconds : seconds_) seconds.Replace(sight_.Places());
}

void FlashAnalysis::Look(const Surface& frame, uint32_t nowMs) {
  if (frame.Width() != sight_.width || frame.Height() != sight_.height)
    throw std::invalid_argument("a frame of another size than the flash count's canvas");
  nowMs_ = first_ ? nowMs : nowMs_ + static_cast<uint32_t>(nowMs - static_cast<uint32_t>(nowMs_));
  for (auto& seconds : seconds_) seconds.Advance(nowMs_);
  const size_t pixels = planes_.low.size();
  const Pixel* now = frame.Pixels().data();
  if (first_) {
    turning_ = MeasurePixels(planes_, 0, pixels, now, false);
  } else {
    turning_ = MeasureChanged(now, last_.Pixels().data(), pixels);
  }
  FindFields();
}

TurnCounts FlashAnalysis::MeasureChanged(const Pixel* now, const Pixel* before, size_t pixels) {
  // A pixel shown as it was keeps its light, which it was measured with, and within what it
  // remembers it makes no transition: the pixels are compared a block at a time, and only the
  // blocks that changed are measured.
  constexpr size_t kBlock = 16;
  const auto same = [&](size_t i) {
    return std::memcmp(now + i, before + i, std::min(kBlock, pixels - i) * sizeof(Pixel)) == 0;
  };
  TurnCounts counts;
  for (size_t i = 0; i < pixels;) {
    size_t end = i;
    while (end < pixels && same(end)) end = std::min(pixels, end + kBlock);
    for (auto& turns : planes_.turns) std::fill(turns.begin() + i, turns.begin() + end, 0);
    i = end;
    while (end < pixels && !same(end)) end = std::min(pixels, end + kBlock);
    if (end == i) continue;
    const TurnCounts changed = MeasurePixels(planes_, i, end - i, now + i, true);
    counts.general += changed.general;
    counts.red += changed.red;
    i = end;
  }
  return counts;
}

void FlashAnalysis::Retake(int x, int y, Pixel p) {
  Remeasure(static_cast<size_t>(y) * sight_.width + x, 1, &p);
}

void FlashAnalysis::RetakeRow(int y, const Pixel* row) {
  Remeasure(static_cast<size_t>(y) * sight_.width, static_cast<size_t>(sight_.width), row);
}

void FlashAnalysis::Remeasure(size_t first, size_t count, const Pixel* pixels) {
  for (size_t i = first; i < first + count; ++i) {
    turning_.general -= planes_.turns[kGeneral][i] != 0;
    turning_.red -= planes_.turns[kRed][i] != 0;
  }
  const TurnCounts now = MeasurePixels(planes_, first, count, pixels, !first_);
  turning_.general += now.general;
  turning_.red += now.red;
}

void FlashAnalysis::FindFields() {
  found_[kGeneral] =
      finder_.Find(planes_.turns[kGeneral].data(), turning_.general, hits_[kGeneral].data());
  found_[kRed] = finder_.Find(planes_.turns[kRed].data(), turning_.red, hits_[kRed].data());
}

FlashWindow FlashAnalysis::Commit(const Surface& frame) {
  StepPixels(planes_, !first_);
  last_ = frame;
  first_ = false;
  for (int k = 0; k < kKinds; ++k) seconds_[k].Record(hits_[k].data(), found_[k], nowMs_);
  return Busiest();
}

FlashWindow FlashAnalysis::Busiest() const {
  FlashWindow window;
  const auto fieldAt = [&](int place) {
    return Rect{place % sight_.placesAcross, place / sight_.placesAcross, sight_.fieldWidth,
                sight_.fieldHeight};
  };
  const FieldSeconds::Busiest general = seconds_[kGeneral].Most();
  const FieldSeconds::Busiest red = seconds_[kRed].Most();
  window.generalTransitions = general.transitions;
  window.redTransitions = red.transitions;
  window.general = FlashesOf(general.transitions);
  window.red = FlashesOf(red.transitions);
  if (general.place >= 0) window.generalField = fieldAt(general.place);
  if (red.place >= 0) window.redField = fieldAt(red.place);
  return window;
}

FlashWindow FlashAnalysis::AddFrame(const Surface& frame, uint32_t nowMs) {
  Look(frame, nowMs);
  return Commit(frame);
}

}  // namespace ombrevale
