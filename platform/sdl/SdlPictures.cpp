#include "platform/sdl/SdlPictures.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/FatalError.h"
#include "platform/bitmap/BitmapHeader.h"
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

[[noreturn]] void TooLarge(const std::string& path, const std::string& why) {
  throw FatalError(path + ": too large to load (" + why + ")");
}

[[noreturn]] void CannotRead(const std::string& path, const std::string& why) {
  throw FatalError(path + ": cannot be read (" + why + ")");
}

[[noreturn]] void CannotRead(const std::string& path) {
  CannotRead(path, std::strerror(errno));
}

// The whole file at `path`, once its headers have said that it holds a picture of sane size;
// `claimed` receives that size.
std::vector<uint8_t> ReadCheckedFile(const std::string& path, PictureSize& claimed) {
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
    Unreadable(path, *why);
  if (size > kMaxFileBytes) Unreadable(path, "the file is larger than any picture it may hold");

  bytes.resize(static_cast<size_t>(size));
  const auto head = static_cast<std::streamsize>(std::min<std::streamoff>(size, kHeadBytes));
  if (!in.read(reinterpret_cast<char*>(bytes.data()) + head, size - head)) CannotRead(path);
  return bytes;
}

}  // namespace

std::string SdlPictureReader::FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) ? path : std::string();
}

// At most two copies of a picture's pixels live at once: the file's bytes and SDL's decoded
// picture, then SDL's decoded picture and ours, which SDL converts straight into.
Surface SdlPictureReader::LoadPicture(const std::string& path) {
  PictureSize size;
  SurfacePtr decoded;
  {
    const std::vector<uint8_t> file = ReadCheckedFile(path, size);
    if (auto why = budget_.Refusal(size.width, size.height)) TooLarge(path, *why);
    SDL_RWops* rw = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (rw == nullptr) Unreadable(path, SDL_GetError());
    decoded.reset(SDL_LoadBMP_RW(rw, 1));
    if (!decoded) Unreadable(path, SDL_GetError());
  }
  if (decoded->w != size.width || decoded->h != size.height) {
    Unreadable(path, "the decoder read " + std::to_string(decoded->w) + " x " +
                         std::to_string(decoded->h) + " pixels where the header claims " +
                         std::to_string(size.width) + " x " + std::to_string(size.height));
  }

  Surface picture(size.width, size.height);
  SurfacePtr target(SDL_CreateRGBSurfaceWithFormatFrom(picture.Row(0), size.width, size.height, 32,
                                                       size.width * 4, SDL_PIXELFORMAT_XRGB8888));
  if (!target) Unreadable(path, SDL_GetError());
  // A plain copy of the colours: an alpha channel in the file neither blends nor survives.
  if (SDL_SetSurfaceBlendMode(decoded.get(), SDL_BLENDMODE_NONE) != 0 ||
      SDL_BlitSurface(decoded.get(), nullptr, target.get(), nullptr) != 0) {
    Unreadable(path, SDL_GetError());
  }
  target.reset();
  decoded.reset();
  for (int y = 0; y < picture.Height(); ++y) {
    Pixel* row = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x) row[x] &= 0x00FFFFFF;
  }
  budget_.Charge(size.width, size.height);
  return picture;
}

}  // namespace ombrevale
