#pragma once

// Reading a bitmap file whole, once its headers have passed the check, with the reasons a picture
// reader gives when it cannot: every desktop's reader fails with the same words.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/bitmap/BitmapHeader.h"

namespace ombrevale {

// The whole file at `path`, once its headers have said that it holds a picture of sane size;
// `format` receives what they say. Throws FatalError naming the file and the reason otherwise:
// anything but an ordinary file (a folder, a FIFO, a device) "cannot be read (not a file)", and
// is refused at once, whatever takes the file's place while it is read (platform/files/).
std::vector<uint8_t> ReadCheckedBitmapFile(const std::string& path, BitmapFormat& format);

// The sentences a picture reader fails with, each naming the file: it is no picture it can
// decode, it is too large to load, or it cannot be read at all.
std::string UnreadableBitmapSentence(const std::string& path, const std::string& why);
std::string BitmapTooLargeSentence(const std::string& path, const std::string& why);
std::string CannotReadSentence(const std::string& path, const std::string& why);

// Why a decoded picture is refused when its decoder read another size than its header claims.
std::string DecodedOtherSize(int width, int height, PictureSize claimed);

// The same, thrown as FatalError.
[[noreturn]] void UnreadableBitmap(const std::string& path, const std::string& why);
[[noreturn]] void BitmapTooLarge(const std::string& path, const std::string& why);

}  // namespace ombrevale
