#include "backends/sdl/layers/ShownLayer.h"

#include <atomic>

#include "backends/sdl/SdlHandles.h"

namespace ombrevale {

uint64_t NextLayerVersion() {
  static std::atomic<uint64_t> last{0};
  return ++last;
}

void DrawLayers(std::span<const ShownLayer> layers, SDL_Surface* target, int x, int y) {
  for (const ShownLayer& layer : layers) {
    if (layer.pixels == nullptr) continue;
    SDL_Rect clip{layer.clip.x + x, layer.clip.y + y, layer.clip.w, layer.clip.h};
    SDL_Rect at{layer.at.x + x, layer.at.y + y, layer.pixels->w, layer.pixels->h};
    // SDL clips to the target's clip rectangle, itself kept inside the target.
    if (!SDL_SetClipRect(target, &clip)) continue;  // nothing of it lies on the target
    Check(SDL_BlitSurface(const_cast<SDL_Surface*>(layer.pixels), nullptr, target, &at),
          "drawing the window's text and boxes");
  }
  SDL_SetClipRect(target, nullptr);
}

}  // namespace ombrevale
