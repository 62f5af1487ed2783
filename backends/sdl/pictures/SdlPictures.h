#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Pictures.h"
#include "platform/bitmap/PictureBudget.h"
#include "platform/bitmap/PictureReadAhead.h"

namespace ombrevale {

// Reads one set of pictures, the window's, from bitmap files with SDL's decoder. The headers are
// checked before anything is decoded, so a broken or hostile file cannot make the decoder
// allocate gigabytes, and the pictures together stay within one budget: a picture that would
// pass it is refused as unreadable, before it is decoded.
class SdlPictureReader final : public PictureReader {
 public:
  std::string FileExists(const std::string& path) override;
  Surface LoadPicture(const std::string& path) override;

  // Starts reading `paths` on a thread of its own, for LoadPicture to find ready.
  void ReadAhead(std::vector<std::string> paths);

  const PictureBudget& Budget() const { return budget_; }

 private:
  PictureBudget budget_;
  std::unique_ptr<PictureReadAhead> ahead_;
};

}  // namespace ombrevale
