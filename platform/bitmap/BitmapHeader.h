#pragma once

// The check of a bitmap file's headers that comes before any decoding, so that a small hostile
// file cannot make the reader allocate gigabytes or read past its end.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ombrevale {

// The largest picture the program reads; anything larger is taken for a broken file.
inline constexpr int kMaxPictureSide = 4096;

// The size of a picture in pixels; `height` counts the rows whichever way they are stored.
struct PictureSize {
  int width = 0;
  int height = 0;
};

// The ways a bitmap's pixels may be stored (the information header's compression field).
enum BitmapCompression : uint32_t {
  kBitmapRgb = 0,
  kBitmapRle8 = 1,
  kBitmapRle4 = 2,
  kBitmapBitFields = 3,
  kBitmapAlphaBitFields = 6,
};

// What a bitmap's headers say about its pixels, once they have passed the check: everything a
// reader needs to decode them, read from the headers in one place.
struct BitmapFormat {
  PictureSize size;
  bool bottomUp = true;  // rows stored from the bottom up (a positive height in the header)
  int bits = 0;          // 1, 4, 8, 16, 24 or 32 a pixel
  uint32_t compression = kBitmapRgb;
  uint32_t infoSize = 0;  // the information header's bytes: 12, or 40 to 124
  uint32_t colours = 0;   // palette entries the pixels may use, for 8 bits a pixel or fewer
  // Red, green and blue of 16- and 32-bit pixels: the header's own with bit fields, else 5-5-5
  // for 16 bits and 8-8-8 for 32.
  uint32_t masks[3] = {0, 0, 0};
  uint64_t pixelOffset = 0;  // where the pixels start in the file
};

// The bytes of one stored row of a picture `width` pixels wide (at most kMaxPictureSide) at
// `bits` a pixel: its pixels, padded to whole 4-byte words. Every reader walks the rows by it.
inline size_t BitmapRowBytes(int width, int bits) {
  return (static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32 * 4;
}

// The check's answer: the format of a picture that may be decoded, or why the file is not a
// readable picture.
struct CheckedBitmap {
  std::optional<BitmapFormat> format;
  std::string refusal;  // when there is no format
};

// Checks a bitmap file's headers before anything is decoded: `head` is the start of the file (at
// least its headers and colour masks when the file has them), `fileSize` its whole size.
CheckedBitmap CheckBitmapHeader(std::span<const uint8_t> head, uint64_t fileSize);

}  // namespace ombrevale
