#include "platform/sdl/SdlPictures.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/FatalError.h"
#include "platform/sdl/SdlHandles.h"

namespace ombrevale {
namespace {

// Enough of the file for every bitmap header version and a full 256-colour palette.
constexpr std::streamsize kHeadBytes = 14 + 124 + 256 * 4;
// No picture we accept needs a larger file: the largest one at 32 bits, plus room for the
// headers, a palette and a colour profile.
constexpr std::streamoff kMaxFileBytes =
    std::streamoff{kMaxPictureSide} * kMaxPictureSide * 4 + (1 << 20);

[[noreturn]] void Unreadable(const std::string& path, const std::string& why) {
  throw FatalError(path + ": not a readable bitmap (" + why + ")");
}

[[noreturn]] void CannotRead(const std::string& path, const std::string& why) {
  throw FatalError(path + ": cannot be read (" + why + ")");
}

[[noreturn]] void CannotRead(const std::string& path) {
  CannotRead(path, std::strerror(errno));
}

}  // namespace

std::string SdlPictureReader::FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) ? path : std::string();
}

Surface SdlPictureReader::LoadPicture(const std::string& path) {
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
  if (auto why = CheckBitmapHeader(bytes, static_cast<uint64_t>(size))) Unreadable(path, *why);
  if (size > kMaxFileBytes) Unreadable(path, "the file is larger than any picture it may hold");

  // The headers promise a picture of sane size: now the whole file.
  bytes.resize(static_cast<size_t>(size));
  const auto head = static_cast<std::streamsize>(std::min<std::streamoff>(size, kHeadBytes));
  if (!in.read(reinterpret_cast<char*>(bytes.data()) + head, size - head)) CannotRead(path);

  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (rw == nullptr) Unreadable(path, SDL_GetError());
  SurfacePtr decoded(SDL_LoadBMP_RW(rw, 1));
  if (!decoded) Unreadable(path, SDL_GetError());
  SurfacePtr pixels(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_XRGB8888, 0));
  if (!pixels) Unreadable(path, SDL_GetError());

  Surface picture(pixels->w, pixels->h);
  for (int y = 0; y < pixels->h; ++y) {
    const auto* row = reinterpret_cast<const uint8_t*>(pixels->pixels) +
                      static_cast<size_t>(y) * static_cast<size_t>(pixels->pitch);
    Pixel* out = picture.Row(y);
    for (int x = 0; x < pixels->w; ++x) {
      Pixel p;
      std::memcpy(&p, row + static_cast<size_t>(x) * 4, sizeof p);
      out[x] = p & 0x00FFFFFF;
    }
  }
  return picture;
}

}  // namespace ombrevale
