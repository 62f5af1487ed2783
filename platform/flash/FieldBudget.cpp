#include "platform/flash/FieldBudget.h"

#include <algorithm>

#include "platform/flash/FlashVectors.h"

namespace ombrevale {

OMBREVALE_FLASH_VECTORS
void FieldBudget::Pass(int64_t nowMs) {
  const int64_t since = started_ ? nowMs - lastMs_ : 0;
  lastMs_ = nowMs;
  started_ = true;
  if (since <= 0) return;
  const uint16_t paid = static_cast<uint16_t>(std::min<int64_t>(since, UINT16_MAX));
  uint16_t* __restrict owed = owed_.data();
  for (size_t p = 0; p < owed_.size(); ++p)
    owed[p] = static_cast<uint16_t>(owed[p] > paid ? owed[p] - paid : 0);
}

OMBREVALE_FLASH_VECTORS
int FieldBudget::Refuse(const uint8_t* __restrict hits, const uint8_t* __restrict counts, int most,
                        uint8_t* __restrict refused) const {
  const uint16_t* __restrict owed = owed_.data();
  constexpr uint16_t kMostOwed = (kBurst - 1) * kSpacingMs;
  const uint8_t mostCount = static_cast<uint8_t>(most);
  int any = 0;
  for (size_t p = 0; p < owed_.size(); ++p) {
    const uint8_t no =
        hits[p] & static_cast<uint8_t>((counts[p] >= mostCount) | (owed[p] > kMostOwed));
    refused[p] = no;
    any += no;
  }
  return any;
}

void FieldBudget::Spend(const uint8_t* hits, int across, int reachAcross, int reachDown) {
  const int down = static_cast<int>(owed_.size()) / across;
  near_.assign(owed_.size(), 0);
  // Along each row: whether a transition lies within reachAcross; a running count of them.
  std::vector<uint8_t>& along = near_;
  for (int y = 0; y < down; ++y) {
    const uint8_t* in = hits + static_cast<size_t>(y) * across;
    uint8_t* out = along.data() + static_cast<size_t>(y) * across;
    int count = 0;
    for (int x = 0; x < std::min(reachAcross, across); ++x) count += in[x];
    for (int x = 0; x < across; ++x) {
      if (x + reachAcross < across) count += in[x + reachAcross];
      out[x] = count > 0;
      if (x - reachAcross >= 0) count -= in[x - reachAcross];
    }
  }
  // Down each column: the same over reachDown rows; those places spend.
  rows_.assign(static_cast<size_t>(across), 0);
  const auto add = [&](int y, int sign) {
    const uint8_t* in = along.data() + static_cast<size_t>(y) * across;
    for (int x = 0; x < across; ++x)
      rows_[static_cast<size_t>(x)] += static_cast<int16_t>(sign * in[x]);
  };
  for (int y = 0; y < std::min(reachDown, down); ++y) add(y, 1);
  for (int y = 0; y < down; ++y) {
    if (y + reachDown < down) add(y + reachDown, 1);
    SpendRow(y, across);
    if (y - reachDown >= 0) add(y - reachDown, -1);
  }
}

OMBREVALE_FLASH_VECTORS
void FieldBudget::SpendRow(int y, int across) {
  uint16_t* __restrict owed = owed_.data() + static_cast<size_t>(y) * across;
  const int16_t* __restrict rows = rows_.data();
  for (int x = 0; x < across; ++x)
    owed[x] = static_cast<uint16_t>(owed[x] + (rows[x] > 0 ? kSpacingMs : 0));
}

void FieldBudget::Replace(int places) {
  const uint16_t most = owed_.empty() ? 0 : *std::max_element(owed_.begin(), owed_.end());
  owed_.assign(static_cast<size_t>(places), most);
}

}  // namespace ombrevale
