#include "platform/sdl/WindowIcon.h"

#include <cmath>

namespace ombrevale {
namespace {

constexpr int kSide = 32;

enum Ink : Uint8 { kNight, kLid, kWhite, kIris, kPupil, kGlint, kInkCount };

constexpr SDL_Color kPalette[kInkCount] = {
    {0, 0, 64, 255},       // background, the page's blue
    {255, 128, 128, 255},  // lids and lashes, the clock's pink
    {255, 236, 236, 255},  // the white of the eye
    {224, 64, 112, 255},   // iris
    {24, 0, 40, 255},      // pupil
    {255, 255, 255, 255},  // glint
};

// Which ink the pixel at the centre (px, py) of a 32 x 32 grid takes.
Ink InkAt(double px, double py) {
  const double cx = 16.0, cy = 16.5;
  const double dx = (px - cx) / 14.5;
  const double dy = py - cy;
  // An almond: its half height falls off with the square of the distance from the middle.
  const double half = 10.0 * (1.0 - dx * dx);
  if (std::abs(dx) < 1.0 && std::abs(dy) < half) {
    if (std::abs(dy) > half - 1.6) return kLid;
    const double r = std::hypot(px - cx, py - cy);
    if (std::hypot(px - 13.0, py - 13.5) < 1.6) return kGlint;
    if (r < 3.2) return kPupil;
    if (r < 7.0) return kIris;
    return kWhite;
  }
  // Three lashes above the upper lid.
  for (double lx : {9.0, 16.0, 23.0}) {
    const double top = cy - 10.0 * (1.0 - ((lx - cx) / 14.5) * ((lx - cx) / 14.5));
    const double lean = (lx - cx) / 7.0;
    const double up = top - py;
    if (up > 0 && up < 4.0 && std::abs(px - (lx + lean * up * 0.6)) < 0.8) return kLid;
  }
  return kNight;
}

}  // namespace

SurfacePtr MakeWindowIcon() {
  SurfacePtr icon = SdlOwn<SurfacePtr>(
      SDL_CreateRGBSurfaceWithFormat(0, kSide, kSide, 8, SDL_PIXELFORMAT_INDEX8), "Window icon");
  SDL_SetPaletteColors(icon->format->palette, kPalette, 0, kInkCount);
  for (int y = 0; y < kSide; ++y) {
    auto* row = static_cast<Uint8*>(icon->pixels) + static_cast<ptrdiff_t>(y) * icon->pitch;
    for (int x = 0; x < kSide; ++x) row[x] = InkAt(x + 0.5, y + 0.5);
  }
  return icon;
}

}  // namespace ombrevale
