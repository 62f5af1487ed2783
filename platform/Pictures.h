#pragma once

#include <string>

#include "platform/Surface.h"

namespace ombrevale {

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
