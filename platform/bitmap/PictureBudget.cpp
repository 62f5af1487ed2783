#include "platform/bitmap/PictureBudget.h"

#include <cassert>

namespace ombrevale {
namespace {

// A byte count for people: whole megabytes (of 1024 x 1024 bytes) when it is a whole number of
// them, else the bytes.
std::string Amount(uint64_t bytes) {
  constexpr uint64_t kMegabyte = uint64_t{1} << 20;
  if (bytes >= kMegabyte && bytes % kMegabyte == 0)
    return std::to_string(bytes / kMegabyte) + " MB";
  return std::to_string(bytes) + " bytes";
}

}  // namespace

uint64_t PictureBudget::Bytes(int width, int height) {
  const auto w = static_cast<uint64_t>(width < 0 ? 0 : width);
  const auto h = static_cast<uint64_t>(height < 0 ? 0 : height);
  return w * h * sizeof(Pixel);
}

std::optional<BudgetRefusal> PictureBudget::Refusal(const std::string& path, int width,
                                                    int height) const {
  const uint64_t needed = Bytes(width, height);
  if (needed <= Left()) return std::nullopt;
  const std::string claimed = std::to_string(width) + " x " + std::to_string(height) + " pixels";
  const uint64_t spent = Bytes(largest_.width, largest_.height);
  if (needed <= total_ && spent > total_ / 2) {
    return BudgetRefusal{
        largest_.path, "its header claims " + std::to_string(largest_.width) + " x " +
                           std::to_string(largest_.height) + " pixels, " + Amount(spent) +
                           " once decoded, of the " + Amount(total_) +
                           " that all the pictures together may take, and leaves too little for " +
                           path + " (" + claimed + ")"};
  }
  return BudgetRefusal{path, "the header claims " + claimed + ", " + Amount(needed) +
                                 " once decoded, but only " + Amount(Left()) + " of the " +
                                 Amount(total_) + " that all the pictures together may take are left"};
}

void PictureBudget::Charge(const std::string& path, int width, int height) {
  assert(!Refusal(path, width, height));
  used_ += Bytes(width, height);
  if (Bytes(width, height) > Bytes(largest_.width, largest_.height))
    largest_ = {path, width, height};
}

}  // namespace ombrevale
