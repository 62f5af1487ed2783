#pragma once

// Uncompressed 24-bit bitmaps with their black left out, the form the web page's pictures travel
// in: the pictures of dat/ are mostly black, and a picture's black needs neither bytes on the way
// nor writing into fresh black. A file in this form opens with a mark and the size of the bitmap
// file it stands for, then that file's headers as they are, then each row from the top as runs:
// a run of black pixels, a run of others and those pixels' blue, green and red bytes, and so on
// up to the row's end (each run's length in two bytes, least significant first).

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/Surface.h"
#include "platform/bitmap/BitmapHeader.h"

namespace ombrevale {

inline constexpr uint8_t kRgb24RunsMark[4] = {'O', 'V', 'R', '1'};

// The bitmap file a file in this form stands for, as the check reads it: its headers, and its
// whole size. Nothing for a file that is not in this form (an ordinary bitmap among them).
struct Rgb24RunsHead {
  std::span<const uint8_t> head;
  uint64_t fileSize = 0;
};
std::optional<Rgb24RunsHead> ReadRgb24RunsHead(std::span<const uint8_t> file);

// A bitmap file whose headers passed the check as uncompressed 24 bits a pixel, in this form.
std::vector<uint8_t> EncodeRgb24Runs(const BitmapFormat& format, std::span<const uint8_t> file);

// The picture a file in this form holds, its headers having passed the check as uncompressed 24
// bits a pixel, written over fresh black; nothing when its runs do not fill its rows exactly.
std::optional<Surface> DecodeRgb24Runs(const BitmapFormat& format, std::span<const uint8_t> file);

}  // namespace ombrevale
