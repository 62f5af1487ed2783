#include "platform/bitmap/Rgb24Rows.h"

#include <vector>

#include "platform/bitmap/RowOverBlack.h"

namespace ombrevale {

bool IsRgb24(const BitmapFormat& format) {
  return format.bits == 24 && format.compression == kBitmapRgb;
}

Surface DecodeRgb24(const BitmapFormat& format, std::span<const uint8_t> file) {
  const int width = format.size.width, height = format.size.height;
  Surface picture(width, height);
  // Rows of blue, green and red bytes, each padded to whole 4-byte words.
  const size_t stride = BitmapRowBytes(width, 24);
  std::vector<Pixel> row(static_cast<size_t>(width));
  for (int y = 0; y < height; ++y) {
    const int stored = format.bottomUp ? height - 1 - y : y;
    const uint8_t* in = file.data() + format.pixelOffset + stride * static_cast<size_t>(stored);
    for (int x = 0; x < width; ++x, in += 3) row[x] = Rgb(in[2], in[1], in[0]);
    WriteRowOverBlack(picture.Row(y), row.data(), width);
  }
  return picture;
}

}  // namespace ombrevale
