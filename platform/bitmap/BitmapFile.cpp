#include "platform/bitmap/BitmapFile.h"

#include <algorithm>

#include "platform/FatalError.h"
#include "platform/files/RegularFile.h"

namespace ombrevale {
namespace {

// Enough of the file for every bitmap header version and a full 256-colour palette.
constexpr uint64_t kHeadBytes = 14 + 124 + 256 * 4;
// No picture we accept needs a larger file: the largest one at 32 bits, plus room for the
// headers, a palette and a colour profile.
constexpr uint64_t kMaxFileBytes = uint64_t{kMaxPictureSide} * kMaxPictureSide * 4 + (1 << 20);

[[noreturn]] void CannotRead(const std::string& path, const std::string& why) {
  throw FatalError(CannotReadSentence(path, why));
}

}  // namespace

std::string UnreadableBitmapSentence(const std::string& path, const std::string& why) {
  return path + ": not a readable bitmap (" + why + ")";
}

std::string BitmapTooLargeSentence(const std::string& path, const std::string& why) {
  return path + ": too large to load (" + why + ")";
}

std::string CannotReadSentence(const std::string& path, const std::string& why) {
  return path + ": cannot be read (" + why + ")";
}

std::string DecodedOtherSize(int width, int height, PictureSize claimed) {
  return "the decoder read " + std::to_string(width) + " x " + std::to_string(height) +
         " pixels where the header claims " + std::to_string(claimed.width) + " x " +
         std::to_string(claimed.height);
}

void UnreadableBitmap(const std::string& path, const std::string& why) {
  throw FatalError(UnreadableBitmapSentence(path, why));
}

void BitmapTooLarge(const std::string& path, const std::string& why) {
  throw FatalError(BitmapTooLargeSentence(path, why));
}

std::vector<uint8_t> ReadCheckedBitmapFile(const std::string& path, BitmapFormat& format) {
  // Opened before anything is asked of it: what is read is what was checked.
  RegularFile file(path);
  if (!file.IsOpen()) CannotRead(path, file.Why());
  const uint64_t size = file.Size();

  std::vector<uint8_t> bytes(static_cast<size_t>(std::min(size, kHeadBytes)));
  if (!file.Read(bytes.data(), bytes.size())) CannotRead(path, file.Why());
  CheckedBitmap checked = CheckBitmapHeader(bytes, size);
  if (!checked.format) UnreadableBitmap(path, checked.refusal);
  format = *checked.format;
  if (size > kMaxFileBytes)
    UnreadableBitmap(path, "the file is larger than any picture it may hold");

  const size_t head = bytes.size();
  bytes.resize(static_cast<size_t>(size));
  if (!file.Read(bytes.data() + head, bytes.size() - head)) CannotRead(path, file.Why());
  return bytes;
}

}  // namespace ombrevale
