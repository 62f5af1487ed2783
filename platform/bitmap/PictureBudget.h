#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Surface.h"
#include "platform/bitmap/BitmapHeader.h"

namespace ombrevale {

// What the window's pictures may take together once decoded: exactly one picture of the largest
// size the program reads, about ten times what the pictures of dat/ need.
inline constexpr uint64_t kPictureBudgetBytes = uint64_t{kMaxPictureSide} * kMaxPictureSide * 4;

// The memory that one set of pictures may take once decoded, 4 bytes a pixel as a Surface holds
// them. A run-length-encoded bitmap of a few hundred bytes can claim the largest size, so the
// cap on one picture alone would let a folder of such files take gigabytes; the reader asks the
// budget before it decodes anything and charges it after.
class PictureBudget {
 public:
  explicit PictureBudget(uint64_t bytes = kPictureBudgetBytes) : total_(bytes) {}

  // Why a picture of `width` x `height` pixels does not fit in what is left, or nothing when it
  // does. A picture that takes exactly what is left fits.
  std::optional<std::string> Refusal(int width, int height) const;

  // Takes a decoded picture's pixels from what is left; only after Refusal let it through.
  void Charge(int width, int height);

  uint64_t Total() const { return total_; }
  uint64_t Left() const { return total_ - used_; }

  // The bytes a decoded picture of `width` x `height` holds.
  static uint64_t Bytes(int width, int height);

 private:
  uint64_t total_;
  uint64_t used_ = 0;
};

}  // namespace ombrevale
