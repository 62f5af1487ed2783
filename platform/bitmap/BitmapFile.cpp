#include "platform/bitmap/BitmapFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/FatalError.h"

namespace ombrevale {
namespace {

// Enough of the file for every bitmap header version and a full 256-colour palette.
constexpr uint64_t kHeadBytes = 14 + 124 + 256 * 4;
// No picture we accept needs a larger file: the largest one at 32 bits, plus room for the
// headers, a palette and a colour profile.
constexpr uint64_t kMaxFileBytes = uint64_t{kMaxPictureSide} * kMaxPictureSide * 4 + (1 << 20);

// Read with the C library's files rather than C++ streams: a stream sets up the C++ locale, which
// costs the running program half a megabyte it has no other use for.
struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, CloseFile>;

[[noreturn]] void CannotRead(const std::string& path, const std::string& why) {
  throw FatalError(CannotReadSentence(path, why));
}

[[noreturn]] void CannotRead(const std::string& path) {
  CannotRead(path, std::strerror(errno));
}

// Fills `n` bytes at `into` from `file`, or says why it could not.
void ReadExactly(std::FILE* file, uint8_t* into, size_t n, const std::string& path) {
  errno = 0;
  if (std::fread(into, 1, n, file) == n) return;
  if (std::ferror(file) && errno != 0) CannotRead(path);
  CannotRead(path, "it ended before its size");
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
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (error) CannotRead(path, error.message());
  if (!std::filesystem::is_regular_file(status)) CannotRead(path, "not a file");
  const uint64_t size = std::filesystem::file_size(path, error);
  if (error) CannotRead(path, error.message());
  errno = 0;
  const FilePtr in(std::fopen(path.c_str(), "rb"));
  if (!in) CannotRead(path);

  std::vector<uint8_t> bytes(static_cast<size_t>(std::min(size, kHeadBytes)));
  ReadExactly(in.get(), bytes.data(), bytes.size(), path);
  CheckedBitmap checked = CheckBitmapHeader(bytes, size);
  if (!checked.format) UnreadableBitmap(path, checked.refusal);
  format = *checked.format;
  if (size > kMaxFileBytes)
    UnreadableBitmap(path, "the file is larger than any picture it may hold");

  const size_t head = bytes.size();
  bytes.resize(static_cast<size_t>(size));
  ReadExactly(in.get(), bytes.data() + head, bytes.size() - head, path);
  return bytes;
}

}  // namespace ombrevale
