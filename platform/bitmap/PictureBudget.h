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

// A picture the budget cannot take: the picture to blame, and why, as the reader's sentence says
// it (BitmapTooLargeSentence).
struct BudgetRefusal {
  std::string path;
  std::string why;
};

// The memory that one set of pictures may take once decoded, 4 bytes a pixel as a Surface holds
// them. A run-length-encoded bitmap of a few hundred bytes can claim the largest size, so the
// cap on one picture alone would let a folder of such files take gigabytes; the reader asks the
// budget before it decodes anything and charges it after.
class PictureBudget {
 public:
  explicit PictureBudget(uint64_t bytes = kPictureBudgetBytes) : total_(bytes) {}

  // Why the picture at `path`, of `width` x `height` pixels, does not fit in what is left, or
  // nothing when it does; a picture that takes exactly what is left fits. The picture blamed is
  // this one, unless it would fit in the whole budget and one picture before it took more than
  // half: that one spent it, and is named.
  std::optional<BudgetRefusal> Refusal(const std::string& path, int width, int height) const;

  // Takes a decoded picture's pixels from what is left; only after Refusal let it through.
  void Charge(const std::string& path, int width, int height);

  uint64_t Total() const { return total_; }
  uint64_t Left() const { return total_ - used_; }

  // The bytes a decoded picture of `width` x `height` holds.
  static uint64_t Bytes(int width, int height);

 private:
  // The picture that took the most, and its size: the one to name when a later one is refused.
  struct Spender {
    std::string path;
    int width = 0, height = 0;
  };

  uint64_t total_;
  uint64_t used_ = 0;
  Spender largest_;
};

}  // namespace ombrevale
