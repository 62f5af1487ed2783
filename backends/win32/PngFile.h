#pragma once

// Frames as PNG files on Windows, where no PNG library is built in: what a replay leaves beside
// itself at a frame that differs. The picture's rows go into the file as they are (deflate's
// stored blocks), which any reader of PNG reads; a frame of the canvas takes 360 kB.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Surface.h"

namespace ombrevale {

// The bytes of `picture` as an 8-bit RGB PNG file.
std::vector<uint8_t> PngBytes(const Surface& picture);

// Writes `picture` to `path` (UTF-8) as PngBytes gives it, replacing any file there. Throws
// FatalError when the file cannot be written.
void WritePngFile(const std::string& path, const Surface& picture);

}  // namespace ombrevale
