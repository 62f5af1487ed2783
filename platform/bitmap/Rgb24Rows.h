#pragma once

// Decoding the pixels of an uncompressed bitmap of 24 bits a pixel, the kind the pictures of dat/
// are, straight from the file's bytes: a desktop whose own decoder is far away (the web page's,
// behind the browser's image decoding and a canvas) reads them here instead, with the same colours
// as every decoder gives such a file.

#include <cstdint>
#include <span>

#include "platform/Surface.h"
#include "platform/bitmap/BitmapHeader.h"

namespace ombrevale {

// Whether the headers say the pixels are stored that way: 24 bits a pixel, no compression.
bool IsRgb24(const BitmapFormat& format);

// The picture of a file whose headers passed the check with such a format (so that every row lies
// within `file`), written over fresh black without touching its black.
Surface DecodeRgb24(const BitmapFormat& format, std::span<const uint8_t> file);

}  // namespace ombrevale
