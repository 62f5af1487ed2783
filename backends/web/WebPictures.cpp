#include "backends/web/WebPictures.h"

#include <emscripten.h>

#include <utility>

#include "platform/FatalError.h"
#include "platform/bitmap/BitmapFile.h"
#include "platform/bitmap/Rgb24Rows.h"
#include "platform/bitmap/Rgb24Runs.h"

namespace ombrevale {

WebPictureReader::Admission WebPictureReader::Admit(const std::string& path,
                                                    std::span<const uint8_t> file) {
  File& entry = files_[path];
  // A picture of the site's own arrives with its black left out; its headers are checked as the
  // bitmap's it stands for.
  const std::optional<Rgb24RunsHead> runs = ReadRgb24RunsHead(file);
  const CheckedBitmap checked =
      runs ? CheckBitmapHeader(runs->head, runs->fileSize) : CheckBitmapHeader(file, file.size());
  if (!checked.format) {
    entry.failure = UnreadableBitmapSentence(path, checked.refusal);
    return Admission::Refused;
  }
  entry.claimed = checked.format->size;
  if (auto refusal = budget_.Refusal(path, entry.claimed.width, entry.claimed.height)) {
    entry.failure = BitmapTooLargeSentence(refusal->path, refusal->why);
    return Admission::Refused;
  }
  budget_.Charge(path, entry.claimed.width, entry.claimed.height);
  if (runs) {
    std::optional<Surface> picture;
    if (IsRgb24(*checked.format)) picture = DecodeRgb24Runs(*checked.format, file);
    if (!picture) {
      entry.failure = UnreadableBitmapSentence(path, "its rows' runs are broken");
      return Admission::Refused;
    }
    entry.picture = std::move(*picture);
    return Admission::Decoded;
  }
  if (!IsRgb24(*checked.format)) return Admission::PageDecodes;
  entry.picture = DecodeRgb24(*checked.format, file);
  return Admission::Decoded;
}

void WebPictureReader::Undecodable(const std::string& path, const std::string& why) {
  files_[path].failure = UnreadableBitmapSentence(path, why);
}

void WebPictureReader::Decoded(const std::string& path, int width, int height,
                               std::span<const uint8_t> rgba) {
  File& file = files_[path];
  if (width != file.claimed.width || height != file.claimed.height) {
    file.failure = UnreadableBitmapSentence(path, DecodedOtherSize(width, height, file.claimed));
    return;
  }
  file.picture = Surface(width, height);
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = rgba.data() + static_cast<size_t>(y) * width * 4;
    Pixel* out = file.picture.Row(y);
    for (int x = 0; x < width; ++x, in += 4) out[x] = Rgb(in[0], in[1], in[2]);
  }
}

std::string WebPictureReader::FileExists(const std::string& path) {
  return files_.contains(path) ? path : std::string();
}

Surface WebPictureReader::LoadPicture(const std::string& path) {
  const auto found = files_.find(path);
  if (found == files_.end()) throw FatalError(CannotReadSentence(path, "no such file"));
  if (found->second.failure) throw FatalError(*found->second.failure);
  // Handed over, not copied: the window reads each picture once, as it loads.
  return std::move(found->second.picture);
}

WebPictureReader& PagePictures() {
  static WebPictureReader reader;
  return reader;
}

}  // namespace ombrevale

// The page's picture loader calls these while it prepares the pictures, before the window loads.
extern "C" {

// What became of a fetched file (WebPictureReader::Admission): 0 refused, 1 the page decodes it,
// 2 decoded.
EMSCRIPTEN_KEEPALIVE int OmbrevaleAdmitPicture(const char* path, const uint8_t* bytes, int size) {
  return static_cast<int>(ombrevale::PagePictures().Admit(
      path, std::span<const uint8_t>(bytes, static_cast<size_t>(size))));
}

EMSCRIPTEN_KEEPALIVE void OmbrevalePictureUndecodable(const char* path, const char* why) {
  ombrevale::PagePictures().Undecodable(path, why);
}

EMSCRIPTEN_KEEPALIVE void OmbrevalePictureDecoded(const char* path, int width, int height,
                                                  const uint8_t* rgba) {
  ombrevale::PagePictures().Decoded(
      path, width, height, std::span<const uint8_t>(rgba, static_cast<size_t>(width) * height * 4));
}

}  // extern "C"
