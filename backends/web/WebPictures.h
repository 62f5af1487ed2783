#pragma once

// The window's pictures on a web page. The page fetches the bitmap files of dat/ beside it before
// the window loads; each file's headers are checked here, against the same limits and the same
// memory budget as on the desktop, before the browser's own decoder may touch it; the page then
// decodes the files that passed, pixel for pixel, with no colour conversion. Reading a picture
// afterwards takes what was decoded, or fails with the reason the check or the decoder gave.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>

#include "platform/Pictures.h"
#include "platform/bitmap/PictureBudget.h"

namespace ombrevale {

class WebPictureReader final : public PictureReader {
 public:
  // A fetched file's headers: nothing when it may be decoded (its claimed size is then charged to
  // the budget), else why not, in the reader's words.
  std::optional<std::string> Admit(const std::string& path, std::span<const uint8_t> bytes);

  // What the page's decoder made of an admitted file: nothing (with the browser's reason), or
  // RGBA rows, which must have the size its headers claimed. A file the page could not fetch is
  // never admitted: it is not there.
  void Undecodable(const std::string& path, const std::string& why);
  void Decoded(const std::string& path, int width, int height, std::span<const uint8_t> rgba);

  std::string FileExists(const std::string& path) override;
  Surface LoadPicture(const std::string& path) override;

 private:
  struct File {
    std::optional<std::string> failure;  // the whole sentence LoadPicture throws
    PictureSize claimed;
    Surface picture;
  };
  PictureBudget budget_;
  std::map<std::string, File> files_;
};

// The one reader of the page, which the page's picture loader fills before the window loads.
WebPictureReader& PagePictures();

}  // namespace ombrevale
