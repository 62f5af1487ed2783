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

OMBREVALE_FLASH_VECTORS
void FieldBudget::Spend(const uint8_t* __restrict hits) {
  uint16_t* __restrict owed = owed_.data();
  for (size_t p = 0; p < owed_.size(); ++p)
    owed[p] = static_cast<uint16_t>(owed[p] + (hits[p] != 0 ? kSpacingMs : 0));
}

void FieldBudget::Replace(int places) {
  const uint16_t most = owed_.empty() ? 0 : *std::max_element(owed_.begin(), owed_.end());
  owed_.assign(static_cast<size_t>(places), most);
}

}  // namespace ombrevale
