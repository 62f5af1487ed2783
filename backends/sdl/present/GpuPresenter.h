#pragma once

// Frames to the screen through the graphics card: the client area is streamed into a texture once
// a frame and the card scales it, nearest pixel, by whole factors; the window's texts and boxes go
// over it from textures of their own, renewed only when they change. No wait for the display's
// refresh, as the loop keeps its own time.

#include <cstdint>
#include <vector>

#include "backends/sdl/present/Presenter.h"
#include "backends/sdl/SdlHandles.h"

namespace ombrevale {

class GpuPresenter final : public Presenter {
 public:
  // Takes over an accelerated renderer of the window.
  GpuPresenter(SDL_Window* window, RendererPtr renderer);

  bool Present(const SDL_Surface& frame, const WholeFactorFit& fit,
               std::span<const ShownLayer> layers, bool wholeWindow) override;
  SDL_Point Size() const override;
  std::string Name() const override;

 private:
  // A layer's pixels as a texture, kept while its version stays.
  struct LayerTexture {
    uint64_t version = 0;
    TexturePtr texture;
  };
  SDL_Texture* TextureOf(const ShownLayer& layer, LayerTexture& kept);

  SDL_Window* window_;
  RendererPtr renderer_;
  TexturePtr client_;
  std::vector<LayerTexture> layers_;  // one for each place in the list of layers
};

}  // namespace ombrevale
