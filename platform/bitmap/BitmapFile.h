#pragma once

// Reading a bitmap file whole, once its headers have passed the check, with the reasons a picture
// reader gives when it cannot: every desktop's reader fails with the same words.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/bitmap/BitmapHeader.h"

namespace ombrevale {

// The whole file at `path`, once its headers have said that it holds a picture of sane size;
// `claimed` receives that size. Throws FatalError naming the file and the reason otherwise.
std::vector<uint8_t> ReadCheckedBitmapFile(const std::string& path, PictureSize& claimed);

// The reader's failures, as FatalError naming the file: not a picture, too large, not readable.
[[noreturn]] void UnreadableBitmap(const std::string& path, const std::string& why);
[[noreturn]] void BitmapTooLarge(const std::string& path, const std::string& why);

}  // namespace ombrevale
