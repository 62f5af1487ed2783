#include "platform/bitmap/BitmapFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/FatalError.h"

namespace ombrevale {
namespace {

// Enough of the file for every bitmap header version and a full 256-colour palette.
constexpr std::streamsize kHeadBytes = 14 + 124 + 256 * 4;
// No picture we accept needs a larger file: the largest one at 32 bits, plus room for the
// headers, a palette and a colour profile.
constexpr std::streamoff kMaxFileBytes =
    std::streamoff{kMaxPictureSide} * kMaxPictureSide * 4 + (1 << 20);

[[noreturn]] void CannotRead(const std::string& path, const std::string& why) {
  throw FatalError(path + ": cannot be read (" + why + ")");
}

[[noreturn]] void CannotRead(const std::string& path) {
  CannotRead(path, std::strerror(errno));
}

}  // namespace

void UnreadableBitmap(const std::string& path, const std::string& why) {
  throw FatalError(path + ": not a readable bitmap (" + why + ")");
}

void BitmapTooLarge(const std::string& path, const std::string& why) {
  throw FatalError(path + ": too large to load (" + why + ")");
}

std::vector<uint8_t> ReadCheckedBitmapFile(const std::string& path, PictureSize& claimed) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (error) CannotRead(path, error.message());
  if (!std::filesystem::is_regular_file(status)) CannotRead(path, "not a file");
  errno = 0;
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) CannotRead(path);
  const std::streamoff size = in.tellg();
  if (size < 0) CannotRead(path);
  in.seekg(0);

  std::vector<uint8_t> bytes(static_cast<size_t>(std::min<std::streamoff>(size, kHeadBytes)));
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
    CannotRead(path);
  if (auto why = CheckBitmapHeader(bytes, static_cast<uint64_t>(size), &claimed))
    UnreadableBitmap(path, *why);
  if (size > kMaxFileBytes) UnreadableBitmap(path, "the file is larger than any picture it may hold");

  bytes.resize(static_cast<size_t>(size));
  const auto head = static_cast<std::streamsize>(std::min<std::streamoff>(size, kHeadBytes));
  if (!in.read(reinterpret_cast<char*>(bytes.data()) + head, size - head)) CannotRead(path);
  return bytes;
}

}  // namespace ombrevale
