#pragma once

// Pictures from bitmap files on Windows: the headers checked as on every desktop, the pixels
// decoded by the system's own graphics interface (GDI), within the window's picture budget.

#include <string>

#include "platform/Pictures.h"
#include "platform/bitmap/PictureBudget.h"

namespace ombrevale {

class WinPictureReader final : public PictureReader {
 public:
  std::string FileExists(const std::string& path) override;
  Surface LoadPicture(const std::string& path) override;

  const PictureBudget& Budget() const { return budget_; }

 private:
  PictureBudget budget_;
};

}  // namespace ombrevale
