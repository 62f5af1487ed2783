#pragma once

#include <string>

#include "platform/bitmap/PictureBudget.h"
#include "platform/Pictures.h"

namespace ombrevale {

// Reads one set of pictures, the window's, from bitmap files with SDL's decoder. The headers are
// checked before anything is decoded, so a broken or hostile file cannot make the decoder
// allocate gigabytes, and the pictures together stay within one budget: a picture that would
// pass it is refused as unreadable, before it is decoded.
class SdlPictureReader final : public PictureReader {
 public:
  std::string FileExists(const std::string& path) override;
  Surface LoadPicture(const std::string& path) override;

  const PictureBudget& Budget() const { return budget_; }

 private:
  PictureBudget budget_;
};

}  // namespace ombrevale
