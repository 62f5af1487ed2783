#pragma once

#include <string>

#include "platform/Pictures.h"

namespace ombrevale {

// Reads bitmap files with SDL's decoder. The headers are checked before anything is decoded, so
// a broken or hostile file cannot make the decoder allocate gigabytes.
class SdlPictureReader final : public PictureReader {
 public:
  std::string FileExists(const std::string& path) override;
  Surface LoadPicture(const std::string& path) override;
};

}  // namespace ombrevale
