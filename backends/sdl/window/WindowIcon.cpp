#include "backends/sdl/window/WindowIcon.h"

#include <cstring>

namespace ombrevale {
namespace {

constexpr int kSide = 32;
constexpr int kBytesPerPixel = 4;

// R, G, B, A of each pixel, row by row from the top: drawn from art/icon.svg by art/build.
constexpr Uint8 kPixels[] = {
#include "backends/sdl/window/WindowIconPixels.inc"
};
static_assert(sizeof(kPixels) == kSide * kSide * kBytesPerPixel,
              "WindowIconPixels.inc must hold 32 x 32 RGBA pixels: rebuild it with art/build");

}  // namespace

SurfacePtr MakeWindowIcon() {
  SurfacePtr icon = SdlOwn<SurfacePtr>(
      SDL_CreateRGBSurfaceWithFormat(0, kSide, kSide, 32, SDL_PIXELFORMAT_RGBA32), "Window icon");
  for (int y = 0; y < kSide; ++y) {
    auto* row = static_cast<Uint8*>(icon->pixels) + static_cast<ptrdiff_t>(y) * icon->pitch;
    std::memcpy(row, kPixels + static_cast<ptrdiff_t>(y) * kSide * kBytesPerPixel,
                kSide * kBytesPerPixel);
  }
  return icon;
}

}  // namespace ombrevale
