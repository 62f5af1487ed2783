#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/Surface.h"

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

// Reads pictures from bitmap files, and tells which of them are there.
class PictureReader {
 public:
  virtual ~PictureReader() = default;
  // The file-existence test: `path` when an ordinary file of that path exists, else the empty
  // text (a folder, or nothing at all, is "not there"). Relative paths resolve against the
  // working directory.
  virtual std::string FileExists(const std::string& path) = 0;
  // The picture in the file at `path`, pixel for pixel at its own size. Throws FatalError naming
  // the file and the reason when the file is not a readable picture.
  virtual Surface LoadPicture(const std::string& path) = 0;
};

}  // namespace ombrevale
