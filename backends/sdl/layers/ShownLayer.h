#pragma once

// What the window draws at the size it is shown at, over the page's pictures, which are scaled by
// whole factors: its texts and its own boxes. A picture stays a block of whole screen pixels; a
// text is as crisp as the screen allows.

#include <SDL.h>

#include <cstdint>
#include <span>

namespace ombrevale {

struct ShownLayer {
  // 32-bit pixels, drawn at the shown size; blended where the surface's blend mode says so (a
  // text), copied where it does not (a box).
  const SDL_Surface* pixels = nullptr;
  // Where its top-left corner lies, and what of the client area it may cover, in pixels of the
  // client area as shown.
  SDL_Rect at{};
  SDL_Rect clip{};
  // Changes whenever the pixels do: a presenter that keeps a copy of them knows when to renew it.
  uint64_t version = 0;
};

// A new version number, never given before.
uint64_t NextLayerVersion();

// Draws the layers, in order, onto `target`, where the shown client area's top-left corner lies at
// (x, y) (negative when the target holds only a lower part of it). Throws FatalError when SDL
// cannot.
void DrawLayers(std::span<const ShownLayer> layers, SDL_Surface* target, int x, int y);

}  // namespace ombrevale
