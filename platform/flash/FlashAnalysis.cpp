#include "platform/flash/FlashAnalysis.h"

#include <algorithm>
#include <stdexcept>

namespace ombrevale {

FlashAnalysis::FlashAnalysis(int width, int height, double scale)
    : sight_(width, height, scale),
      finder_(sight_),
      swings_(static_cast<size_t>(width) * height),
      light_(swings_.size()),
      hits_(static_cast<size_t>(sight_.Places()), 0),
      seconds_{FieldSeconds(sight_.Places()), FieldSeconds(sight_.Places())} {
  for (auto& turns : turns_) turns.assign(swings_.size(), 0);
}

void FlashAnalysis::SetScale(double scale) {
  if (scale == sight_.scale) return;
  sight_ = FlashSight(sight_.width, sight_.height, scale);
  finder_ = FieldFinder(sight_);
  hits_.assign(static_cast<size_t>(sight_.Places()), 0);
  found_[kGeneral] = found_[kRed] = 0;
  for (auto& seconds : seconds_) seconds.Replace(sight_.Places(), lastMs_);
}

void FlashAnalysis::Measure(size_t i, Pixel p) {
  const PixelLight light =
      LightOf({units_[(p >> 16) & 0xFF], units_[(p >> 8) & 0xFF], units_[p & 0xFF]});
  light_[i] = light;
  if (first_) return;
  turns_[kGeneral][i] = static_cast<int8_t>(LuminanceTurn(swings_[i], light));
  turns_[kRed][i] = static_cast<int8_t>(RedTurn(swings_[i], light));
}

void FlashAnalysis::Look(const Surface& frame) {
  if (frame.Width() != sight_.width || frame.Height() != sight_.height)
    throw std::invalid_argument("a frame of another size than the flash count's canvas");
  int8_t* general = turns_[kGeneral].data();
  int8_t* red = turns_[kRed].data();
  for (int y = 0; y < sight_.height; ++y) {
    const Pixel* row = frame.Row(y);
    const Pixel* before = first_ ? nullptr : last_.Row(y);
    const size_t start = static_cast<size_t>(y) * sight_.width;
    for (int x = 0; x < sight_.width; ++x) {
      const size_t i = start + x;
      // A pixel as it was shown keeps its light and makes no transition.
      if (before != nullptr && row[x] == before[x]) {
        general[i] = red[i] = 0;
        continue;
      }
      Measure(i, row[x]);
    }
  }
  FindFields();
}

void FlashAnalysis::Retake(int x, int y, Pixel p) {
  Measure(static_cast<size_t>(y) * sight_.width + x, p);
}

void FlashAnalysis::FindFields() {
  found_[kGeneral] = finder_.Find(turns_[kGeneral].data(), hits_.data(), 1 << kGeneral);
  found_[kRed] = finder_.Find(turns_[kRed].data(), hits_.data(), 1 << kRed);
}

FlashWindow FlashAnalysis::Commit(const Surface& frame, uint32_t nowMs) {
  const int8_t* general = turns_[kGeneral].data();
  const int8_t* red = turns_[kRed].data();
  for (int y = 0; y < sight_.height; ++y) {
    const Pixel* row = frame.Row(y);
    const Pixel* before = first_ ? nullptr : last_.Row(y);
    const size_t start = static_cast<size_t>(y) * sight_.width;
    for (int x = 0; x < sight_.width; ++x) {
      const size_t i = start + x;
      if (before == nullptr)
        swings_[i] = FirstSwing(light_[i]);
      else if (row[x] != before[x])
        StepSwing(swings_[i], light_[i], general[i], red[i]);
    }
  }
  lastMs_ = Unwrapped(nowMs);
  last_ = frame;
  first_ = false;
  for (int k = 0; k < kKinds; ++k)
    seconds_[k].Record(hits_.data(), static_cast<uint8_t>(1 << k), found_[k], lastMs_);
  return MostIn(lastMs_);
}

FlashWindow FlashAnalysis::MostIn(int64_t nowMs) const {
  FlashWindow window;
  const auto fieldAt = [&](int place) {
    return Rect{place % sight_.placesAcross, place / sight_.placesAcross, sight_.fieldWidth,
                sight_.fieldHeight};
  };
  const FieldSeconds::Busiest general = seconds_[kGeneral].Most(nowMs);
  const FieldSeconds::Busiest red = seconds_[kRed].Most(nowMs);
  window.generalTransitions = general.transitions;
  window.redTransitions = red.transitions;
  window.general = FlashesOf(general.transitions);
  window.red = FlashesOf(red.transitions);
  if (general.place >= 0) window.generalField = fieldAt(general.place);
  if (red.place >= 0) window.redField = fieldAt(red.place);
  return window;
}

FlashWindow FlashAnalysis::AddFrame(const Surface& frame, uint32_t nowMs) {
  Look(frame);
  return Commit(frame, nowMs);
}

}  // namespace ombrevale
