#include "platform/flash/FieldSeconds.h"

#include <algorithm>

#include "platform/flash/FlashVectors.h"

namespace ombrevale {

namespace {

constexpr int64_t kSecondMs = 1000;

}  // namespace

FieldSeconds::FieldSeconds(int places)
    : marks_(static_cast<size_t>(places), 0), counts_(static_cast<size_t>(places), 0) {}

OMBREVALE_FLASH_VECTORS
void FieldSeconds::Forget(int k) {
  uint8_t* __restrict counts = counts_.data();
  const uint64_t* __restrict marks = marks_.data();
  const size_t places = counts_.size();
  for (size_t p = 0; p < places; ++p)
    counts[p] = static_cast<uint8_t>(counts[p] - static_cast<uint8_t>((marks[p] >> k) & 1));
}

void FieldSeconds::Advance(int64_t nowMs) {
  while (live_ > 0 && nowMs - times_[live_ - 1] >= kSecondMs) Forget(--live_);
}

void FieldSeconds::Record(const uint8_t* hits, int found, int64_t nowMs) {
  Advance(nowMs);
  if (found == 0) return;
  // The oldest frame remembered makes way, leaving the count if it was still in it.
  if (live_ == kRemembered) Forget(--live_);
  std::copy_backward(times_.begin(), times_.end() - 1, times_.end());
  times_[0] = nowMs;
  ++live_;
  Note(hits);
}

OMBREVALE_FLASH_VECTORS
void FieldSeconds::Note(const uint8_t* __restrict hits) {
  uint64_t* __restrict marks = marks_.data();
  uint8_t* __restrict counts = counts_.data();
  const size_t places = marks_.size();
  for (size_t p = 0; p < places; ++p) counts[p] = static_cast<uint8_t>(counts[p] + hits[p]);
  for (size_t p = 0; p < places; ++p) marks[p] = (marks[p] << 1) | hits[p];
}

OMBREVALE_FLASH_VECTORS
FieldSeconds::Busiest FieldSeconds::Most() const {
  if (live_ == 0) return {};
  // The most first, in a loop that runs as vector code, then where it is.
  uint8_t most = 0;
  for (const uint8_t c : counts_) most = c > most ? c : most;
  if (most == 0) return {};
  const auto at = std::find(counts_.begin(), counts_.end(), most);
  return {most, static_cast<int>(at - counts_.begin())};
}

void FieldSeconds::Replace(int places) {
  const Busiest most = Most();
  const size_t worst = most.place < 0 ? 0 : static_cast<size_t>(most.place);
  const uint64_t marks = most.place < 0 ? 0 : marks_[worst];
  const uint8_t count = most.place < 0 ? 0 : counts_[worst];
  marks_.assign(static_cast<size_t>(places), marks);
  counts_.assign(static_cast<size_t>(places), count);
}

}  // namespace ombrevale
