// Reads the file and information headers of a bitmap and says whether its pixels can be decoded.

#include "platform/bitmap/BitmapHeader.h"

#include <cstdlib>

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

std::optional<std::string> CheckBitmapHeader(std::span<const uint8_t> head, uint64_t fileSize,
                                             PictureSize* claimed) {
  constexpr size_t kFileHeader = 14;
  if (fileSize < kFileHeader + 12 || head.size() < kFileHeader + 12) {
    return "too short to be a bitmap (" + std::to_string(fileSize) + " bytes)";
  }
  if (head[0] != 'B' || head[1] != 'M') return "not a bitmap (no \"BM\" signature)";

  const uint64_t pixelOffset = U32(head, 10);
  const uint32_t infoSize = U32(head, 14);
  int64_t width = 0, height = 0;
  uint16_t planes = 0, bits = 0;
  uint32_t compression = 0, imageSize = 0;
  if (infoSize == 12) {
    width = U16(head, 18);
    height = U16(head, 20);
    planes = U16(head, 22);
    bits = U16(head, 24);
  } else if (infoSize >= 40 && infoSize <= 124) {
    if (head.size() < kFileHeader + 40) return "too short to be a bitmap";
    width = static_cast<int32_t>(U32(head, 18));
    height = static_cast<int32_t>(U32(head, 22));  // negative: rows stored top-down
    planes = U16(head, 26);
    bits = U16(head, 28);
    compression = U32(head, 30);
    imageSize = U32(head, 34);
  } else {
    return "an unknown bitmap header (" + std::to_string(infoSize) + " bytes)";
  }

  const int64_t rows = std::llabs(height);
  if (width <= 0 || rows == 0) return Claims(width, height) + ": an empty picture";
  if (width > kMaxPictureSide || rows > kMaxPictureSide) {
    return Claims(width, rows) + ", more than " + std::to_string(kMaxPictureSide) + " x " +
           std::to_string(kMaxPictureSide);
  }
  if (planes != 1) return "a broken header (" + std::to_string(planes) + " colour planes)";
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return "an unsupported colour depth (" + std::to_string(bits) + " bits a pixel)";
  }

  enum : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };
  const bool rle = compression == kRle8 || compression == kRle4;
  if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields && !rle) {
    return "an unsupported compression (" + std::to_string(compression) + ")";
  }
  if ((compression == kRle8 && bits != 8) || (compression == kRle4 && bits != 4) ||
      (rle && height < 0)) {
    return "a broken header (run-length compression with " + std::to_string(bits) +
           " bits a pixel)";
  }
  if (pixelOffset < kFileHeader + infoSize || pixelOffset >= fileSize) {
    return "a broken header (its pixels would start at byte " + std::to_string(pixelOffset) +
           " of " + std::to_string(fileSize) + ")";
  }

  // The pixels the header announces must fit in the file.
  const uint64_t needed =
      rle ? imageSize : ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4 * rows;
  if (pixelOffset + needed > fileSize) {
    return Claims(width, rows) + ", which need " + std::to_string(needed) +
           " bytes, but the file holds " + std::to_string(fileSize - pixelOffset) +
           " after its headers";
  }
  if (claimed != nullptr) *claimed = {static_cast<int>(width), static_cast<int>(rows)};
  return std::nullopt;
}

}  // namespace ombrevale
