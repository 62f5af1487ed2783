#pragma once

// The window's pictures on a web page. The page fetches the bitmap files of dat/ before the window
// loads; each file's headers are checked here, against the same limits and the same memory budget
// as on the desktop, before anything decodes it. A file of uncompressed 24-bit pixels, as the
// pictures of dat/ are, is decoded here at once, as is the form the site carries them in, with
// their black left out (platform/bitmap/Rgb24Runs.h); the page's browser decodes any other, pixel
// for pixel, with no colour conversion. Reading a picture afterwards takes what was decoded (the
// window reads each once, as it loads: a second reading finds the picture taken and empty), or
// fails with the reason the check or the decoder gave.

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
  // What became of a fetched file, whole: refused by the check or the budget (LoadPicture then
  // fails with why), decoded here, or left for the page's decoder. The claimed size of a file
  // that passed is charged to the budget.
  enum class Admission { Refused = 0, PageDecodes = 1, Decoded = 2 };
  Admission Admit(const std::string& path, std::span<const uint8_t> file);

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
