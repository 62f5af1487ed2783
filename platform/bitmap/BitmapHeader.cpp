// Reads the file and information headers of a bitmap and says whether its pixels can be decoded.

#include "platform/bitmap/BitmapHeader.h"

#include <cstdlib>
#include <utility>

namespace ombrevale {
namespace {

uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
         uint32_t{b[at + 3]} << 24;
}
uint16_t U16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

std::string Claims(int64_t w, int64_t h) {
  return "the header claims " + std::to_string(w) + " x " + std::to_string(h) + " pixels";
}

}  // namespace

CheckedBitmap CheckBitmapHeader(std::span<const uint8_t> head, uint64_t fileSize) {
  const auto refuse = [](std::string why) { return CheckedBitmap{std::nullopt, std::move(why)}; };
  constexpr size_t kFileHeader = 14;
  if (fileSize < kFileHeader + 12 || head.size() < kFileHeader + 12) {
    return refuse("too short to be a bitmap (" + std::to_string(fileSize) + " bytes)");
  }
  if (head[0] != 'B' || head[1] != 'M') return refuse("not a bitmap (no \"BM\" signature)");

  BitmapFormat f;
  f.pixelOffset = U32(head, 10);
  f.infoSize = U32(head, 14);
  int64_t width = 0, height = 0;
  uint16_t planes = 0;
  uint32_t imageSize = 0;
  if (f.infoSize == 12) {
    width = U16(head, 18);
    height = U16(head, 20);
    planes = U16(head, 22);
    f.bits = U16(head, 24);
  } else if (f.infoSize >= 40 && f.infoSize <= 124) {
    if (head.size() < kFileHeader + 40) return refuse("too short to be a bitmap");
    width = static_cast<int32_t>(U32(head, 18));
    height = static_cast<int32_t>(U32(head, 22));  // negative: rows stored top-down
    planes = U16(head, 26);
    f.bits = U16(head, 28);
    f.compression = U32(head, 30);
    imageSize = U32(head, 34);
    f.colours = U32(head, 46);
  } else {
    return refuse("an unknown bitmap header (" + std::to_string(f.infoSize) + " bytes)");
  }

  const int64_t rows = std::llabs(height);
  if (width <= 0 || rows == 0) return refuse(Claims(width, height) + ": an empty picture");
  if (width > kMaxPictureSide || rows > kMaxPictureSide) {
    return refuse(Claims(width, rows) + ", more than " + std::to_string(kMaxPictureSide) + " x " +
                  std::to_string(kMaxPictureSide));
  }
  if (planes != 1) return refuse("a broken header (" + std::to_string(planes) + " colour planes)");
  const int bits = f.bits;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return refuse("an unsupported colour depth (" + std::to_string(bits) + " bits a pixel)");
  }

  const uint32_t compression = f.compression;
  const bool rle = compression == kBitmapRle8 || compression == kBitmapRle4;
  if (compression != kBitmapRgb && compression != kBitmapBitFields &&
      compression != kBitmapAlphaBitFields && !rle) {
    return refuse("an unsupported compression (" + std::to_string(compression) + ")");
  }
  if ((compression == kBitmapRle8 && bits != 8) || (compression == kBitmapRle4 && bits != 4) ||
      (rle && height < 0)) {
    return refuse("a broken header (run-length compression with " + std::to_string(bits) +
                  " bits a pixel)");
  }
  if (f.pixelOffset < kFileHeader + f.infoSize || f.pixelOffset >= fileSize) {
    return refuse("a broken header (its pixels would start at byte " +
                  std::to_string(f.pixelOffset) + " of " + std::to_string(fileSize) + ")");
  }

  // The pixels the header announces must fit in the file.
  const uint64_t needed =
      rle ? imageSize : ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4 * rows;
  if (f.pixelOffset + needed > fileSize) {
    return refuse(Claims(width, rows) + ", which need " + std::to_string(needed) +
                  " bytes, but the file holds " + std::to_string(fileSize - f.pixelOffset) +
                  " after its headers");
  }

  f.size = {static_cast<int>(width), static_cast<int>(rows)};
  f.bottomUp = height > 0;
  if (bits <= 8) {
    const uint32_t most = 1u << bits;
    if (f.colours == 0 || f.colours > most) f.colours = most;
  } else {
    f.colours = 0;
  }
  if (compression == kBitmapBitFields || compression == kBitmapAlphaBitFields) {
    // Inside a header of version 4 or 5, else right after the 40-byte one.
    const size_t at = kFileHeader + 40;
    if (head.size() >= at + 12)
      for (size_t i = 0; i < 3; ++i) f.masks[i] = U32(head, at + 4 * i);
  } else if (bits == 16) {
    f.masks[0] = 0x7C00, f.masks[1] = 0x03E0, f.masks[2] = 0x001F;
  } else if (bits == 32) {
    f.masks[0] = 0xFF0000, f.masks[1] = 0xFF00, f.masks[2] = 0xFF;
  }
  return {f, {}};
}

}  // namespace ombrevale
