#include "platform/flash/FieldSeconds.h"

#include <algorithm>

namespace ombrevale {

namespace {

constexpr int64_t kSecondMs = 1000;

}  // namespace

void FieldSeconds::Record(const uint8_t* hits, uint8_t bit, int found, int64_t nowMs) {
  if (found == 0) return;
  std::copy_backward(times_.begin(), times_.end() - 1, times_.end());
  times_[0] = nowMs;
  noted_ = std::min(noted_ + 1, kRemembered);
  for (size_t p = 0; p < marks_.size(); ++p)
    marks_[p] = (marks_[p] << 1) | ((hits[p] & bit) != 0 ? 1u : 0u);
}

uint64_t FieldSeconds::Recent(int64_t nowMs) const {
  // The times only grow, so the frames of the second are the newest few.
  int k = 0;
  while (k < noted_ && nowMs - times_[k] < kSecondMs) ++k;
  return k >= 64 ? ~uint64_t{0} : (uint64_t{1} << k) - 1;
}

FieldSeconds::Busiest FieldSeconds::Most(int64_t nowMs) const {
  Busiest most;
  const uint64_t recent = Recent(nowMs);
  if (recent == 0) return most;
  for (size_t p = 0; p < marks_.size(); ++p) {
    const int n = std::popcount(marks_[p] & recent);
    if (n > most.transitions) most = {n, static_cast<int>(p)};
  }
  return most;
}

void FieldSeconds::Replace(int places, int64_t nowMs) {
  const Busiest most = Most(nowMs);
  const uint64_t worst = most.place < 0 ? 0 : marks_[static_cast<size_t>(most.place)];
  marks_.assign(static_cast<size_t>(places), worst);
}

}  // namespace ombrevale
