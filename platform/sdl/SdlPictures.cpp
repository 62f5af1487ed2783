#include "platform/sdl/SdlPictures.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/bitmap/BitmapFile.h"
#include "platform/sdl/SdlHandles.h"

namespace ombrevale {

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
    const std::vector<uint8_t> file = ReadCheckedBitmapFile(path, size);
    if (auto why = budget_.Refusal(size.width, size.height)) BitmapTooLarge(path, *why);
    SDL_RWops* rw = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (rw == nullptr) UnreadableBitmap(path, SDL_GetError());
    decoded.reset(SDL_LoadBMP_RW(rw, 1));
    if (!decoded) UnreadableBitmap(path, SDL_GetError());
  }
  if (decoded->w != size.width || decoded->h != size.height) {
    UnreadableBitmap(path, "the decoder read " + std::to_string(decoded->w) + " x " +
                         std::to_string(decoded->h) + " pixels where the header claims " +
                         std::to_string(size.width) + " x " + std::to_string(size.height));
  }

  Surface picture(size.width, size.height);
  SurfacePtr target(SDL_CreateRGBSurfaceWithFormatFrom(picture.Row(0), size.width, size.height, 32,
                                                       size.width * 4, SDL_PIXELFORMAT_XRGB8888));
  if (!target) UnreadableBitmap(path, SDL_GetError());
  // A plain copy of the colours: an alpha channel in the file neither blends nor survives.
  if (SDL_SetSurfaceBlendMode(decoded.get(), SDL_BLENDMODE_NONE) != 0 ||
      SDL_BlitSurface(decoded.get(), nullptr, target.get(), nullptr) != 0) {
    UnreadableBitmap(path, SDL_GetError());
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
