#include "backends/sdl/pictures/SdlPictures.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "backends/sdl/SdlHandles.h"
#include "platform/bitmap/BitmapFile.h"
#include "platform/bitmap/RowOverBlack.h"

namespace ombrevale {

std::string SdlPictureReader::FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) ? path : std::string();
}

namespace {

// Where a file was looked for, for the sentences a picture fails with: a relative path as the
// working folder makes it whole, so that the player knows which dat/ folder was read.
std::string WhereLooked(const std::string& path) {
  std::error_code error;
  const std::filesystem::path whole = std::filesystem::absolute(path, error);
  return error ? path : whole.string();
}

// At most the file's bytes and SDL's decoded picture live beside ours, which is written a band
// of rows at a time through a small scratch picture, its black left unwritten.
Surface ReadPicture(const std::string& path, PictureBudget& budget) {
  BitmapFormat format;
  SurfacePtr decoded;
  {
    const std::vector<uint8_t> file = ReadCheckedBitmapFile(path, format);
    if (auto refusal = budget.Refusal(path, format.size.width, format.size.height))
      BitmapTooLarge(refusal->path, refusal->why);
    SDL_RWops* rw = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (rw == nullptr) UnreadableBitmap(path, SDL_GetError());
    decoded.reset(SDL_LoadBMP_RW(rw, 1));
    if (!decoded) UnreadableBitmap(path, SDL_GetError());
  }
  const PictureSize size = format.size;
  if (decoded->w != size.width || decoded->h != size.height)
    UnreadableBitmap(path, DecodedOtherSize(decoded->w, decoded->h, size));
  // A plain copy of the colours: an alpha channel in the file neither blends nor survives.
  if (SDL_SetSurfaceBlendMode(decoded.get(), SDL_BLENDMODE_NONE) != 0)
    UnreadableBitmap(path, SDL_GetError());

  Surface picture(size.width, size.height);
  const int bandRows = std::min(16, size.height);  // never more than the picture itself
  std::vector<Pixel> band(static_cast<size_t>(size.width) * bandRows);
  SurfacePtr scratch(SDL_CreateRGBSurfaceWithFormatFrom(band.data(), size.width, bandRows, 32,
                                                        size.width * 4, SDL_PIXELFORMAT_XRGB8888));
  if (!scratch) UnreadableBitmap(path, SDL_GetError());
  for (int top = 0; top < size.height; top += bandRows) {
    const int rows = std::min(bandRows, size.height - top);
    SDL_Rect from{0, top, size.width, rows};
    if (SDL_BlitSurface(decoded.get(), &from, scratch.get(), nullptr) != 0)
      UnreadableBitmap(path, SDL_GetError());
    for (int r = 0; r < rows; ++r) {
      Pixel* row = band.data() + static_cast<size_t>(r) * size.width;
      for (int x = 0; x < size.width; ++x) row[x] &= 0x00FFFFFF;  // the unused byte
      WriteRowOverBlack(picture.Row(top + r), row, size.width);
    }
  }
  budget.Charge(path, size.width, size.height);
  return picture;
}

}  // namespace

void SdlPictureReader::ReadAhead(std::vector<std::string> paths) {
  // SDL keeps an error text for each thread that met an error; this one's goes with it.
  ahead_ =
      std::make_unique<PictureReadAhead>(std::move(paths), ReadPicture, [] { SDL_TLSCleanup(); });
}

Surface SdlPictureReader::LoadPicture(const std::string& path) {
  if (ahead_) {
    if (std::optional<Surface> ready = ahead_->Take(path)) {
      // Named as the reader names them: whole, whichever way they were read.
      const std::string whole = WhereLooked(path);
      if (auto refusal = budget_.Refusal(whole, ready->Width(), ready->Height()))
        BitmapTooLarge(refusal->path, refusal->why);
      budget_.Charge(whole, ready->Width(), ready->Height());
      return std::move(*ready);
    }
  }
  return ReadPicture(WhereLooked(path), budget_);
}

}  // namespace ombrevale
