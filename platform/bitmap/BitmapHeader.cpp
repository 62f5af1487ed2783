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

constexpr size_t kFileHeader = 14;

// What the headers say, as they stand, before any of it is believed.
struct HeaderFields {
  BitmapFormat format;
  int64_t width = 0, height = 0;  // height negative: rows stored top-down
  uint16_t planes = 0;
  uint32_t imageSize = 0;
};

// Reads the file and information headers; why the file is no bitmap at all, or nothing.
std::optional<std::string> ReadFields(std::span<const uint8_t> head, uint64_t fileSize,
                                      HeaderFields& h) {
  if (fileSize < kFileHeader + 12 || head.size() < kFileHeader + 12)
    return "too short to be a bitmap (" + std::to_string(fileSize) + " bytes)";
  if (head[0] != 'B' || head[1] != 'M') return "not a bitmap (no \"BM\" signature)";
  BitmapFormat& f = h.format;
  f.pixelOffset = U32(head, 10);
  f.infoSize = U32(head, 14);
  if (f.infoSize == 12) {
    h.width = U16(head, 18);
    h.height = U16(head, 20);
    h.planes = U16(head, 22);
    f.bits = U16(head, 24);
  } else if (f.infoSize >= 40 && f.infoSize <= 124) {
    if (head.size() < kFileHeader + 40) return "too short to be a bitmap";
    h.width = static_cast<int32_t>(U32(head, 18));
    h.height = static_cast<int32_t>(U32(head, 22));
    h.planes = U16(head, 26);
    f.bits = U16(head, 28);
    f.compression = U32(head, 30);
    h.imageSize = U32(head, 34);
    f.colours = U32(head, 46);
  } else {
    return "an unknown bitmap header (" + std::to_string(f.infoSize) + " bytes)";
  }
  return std::nullopt;
}

// Why the headers cannot be believed: a size out of bounds, a depth or compression we do not
// decode, pixels that would start or end outside the file. Nothing when they can.
std::optional<std::string> Implausible(const HeaderFields& h, uint64_t fileSize) {
  const BitmapFormat& f = h.format;
  const int64_t rows = std::llabs(h.height);
  if (h.width <= 0 || rows == 0) return Claims(h.width, h.height) + ": an empty picture";
  if (h.width > kMaxPictureSide || rows > kMaxPictureSide) {
    return Claims(h.width, rows) + ", more than " + std::to_string(kMaxPictureSide) + " x " +
           std::to_string(kMaxPictureSide);
  }
  if (h.planes != 1) return "a broken header (" + std::to_string(h.planes) + " colour planes)";
  const int bits = f.bits;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return "an unsupported colour depth (" + std::to_string(bits) + " bits a pixel)";
  const uint32_t compression = f.compression;
  const bool rle = compression == kBitmapRle8 || compression == kBitmapRle4;
  if (compression != kBitmapRgb && compression != kBitmapBitFields &&
      compression != kBitmapAlphaBitFields && !rle) {
    return "an unsupported compression (" + std::to_string(compression) + ")";
  }
  if ((compression == kBitmapRle8 && bits != 8) || (compression == kBitmapRle4 && bits != 4) ||
      (rle && h.height < 0)) {
    return "a broken header (run-length compression with " + std::to_string(bits) +
           " bits a pixel)";
  }
  if (f.pixelOffset < kFileHeader + f.infoSize || f.pixelOffset >= fileSize) {
    return "a broken header (its pixels would start at byte " + std::to_string(f.pixelOffset) +
           " of " + std::to_string(fileSize) + ")";
  }
  // The pixels the header announces must fit in the file.
  const uint64_t needed =
      rle ? h.imageSize : uint64_t{BitmapRowBytes(static_cast<int>(h.width), bits)} * rows;
  if (f.pixelOffset + needed > fileSize) {
    return Claims(h.width, rows) + ", which need " + std::to_string(needed) +
           " bytes, but the file holds " + std::to_string(fileSize - f.pixelOffset) +
           " after its headers";
  }
  return std::nullopt;
}

// The format of headers that can be believed: their size, the rows' order, the palette's colours
// and the colour masks.
BitmapFormat Completed(const HeaderFields& h, std::span<const uint8_t> head) {
  BitmapFormat f = h.format;
  f.size = {static_cast<int>(h.width), static_cast<int>(std::llabs(h.height))};
  f.bottomUp = h.height > 0;
  if (f.bits <= 8) {
    const uint32_t most = 1u << f.bits;
    if (f.colours == 0 || f.colours > most) f.colours = most;
  } else {
    f.colours = 0;
  }
  if (f.compression == kBitmapBitFields || f.compression == kBitmapAlphaBitFields) {
    // Inside a header of version 4 or 5, else right after the 40-byte one.
    const size_t at = kFileHeader + 40;
    if (head.size() >= at + 12)
      for (size_t i = 0; i < 3; ++i) f.masks[i] = U32(head, at + 4 * i);
  } else if (f.bits == 16) {
    f.masks[0] = 0x7C00, f.masks[1] = 0x03E0, f.masks[2] = 0x001F;
  } else if (f.bits == 32) {
    f.masks[0] = 0xFF0000, f.masks[1] = 0xFF00, f.masks[2] = 0xFF;
  }
  return f;
}

}  // namespace

CheckedBitmap CheckBitmapHeader(std::span<const uint8_t> head, uint64_t fileSize) {
  HeaderFields fields;
  if (auto why = ReadFields(head, fileSize, fields)) return {std::nullopt, std::move(*why)};
  if (auto why = Implausible(fields, fileSize)) return {std::nullopt, std::move(*why)};
  return {Completed(fields, head), {}};
}

}  // namespace ombrevale
