#include "platform/bitmap/RowOverBlack.h"

#include <algorithm>
#include <cstring>

namespace ombrevale {

void WriteRowOverBlack(Pixel* target, const Pixel* row, int width) {
  // One cache line at a time: fine enough that a page of black is never written.
  constexpr int kPiece = 16;
  for (int x = 0; x < width; x += kPiece) {
    const int n = std::min(kPiece, width - x);
    Pixel any = 0;
    for (int i = 0; i < n; ++i) any |= row[x + i];
    if (any != 0) std::memcpy(target + x, row + x, static_cast<size_t>(n) * sizeof(Pixel));
  }
}

}  // namespace ombrevale
