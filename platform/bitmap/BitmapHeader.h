#pragma once

// The check of a bitmap file's headers that comes before any decoding, so that a small hostile
// file cannot make the reader allocate gigabytes or read past its end.

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

// Checks a bitmap file's headers before anything is decoded: `head` is the start of the file (at
// least its first 54 bytes when the file has them), `fileSize` its whole size. Returns why the
// file is not a readable picture, or nothing when it may be decoded; then `claimed`, when given,
// receives the size the headers claim.
std::optional<std::string> CheckBitmapHeader(std::span<const uint8_t> head, uint64_t fileSize,
                                             PictureSize* claimed = nullptr);

}  // namespace ombrevale
