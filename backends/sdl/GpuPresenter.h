#pragma once

// Frames to the screen through the graphics card: the client area is streamed into a texture
// once a frame and the card scales it, nearest pixel, by whole factors; no wait for the display's
// refresh, as the loop keeps its own time.

#include "backends/sdl/Presenter.h"
#include "backends/sdl/SdlHandles.h"

namespace ombrevale {

class GpuPresenter final : public Presenter {
 public:
  // Takes over an accelerated renderer of the window.
  GpuPresenter(SDL_Window* window, RendererPtr renderer);

  bool Present(const SDL_Surface& frame, bool wholeWindow) override;
  WholeFactorFit Fit() const override;
  std::string Name() const override;

 private:
  SDL_Window* window_;
  RendererPtr renderer_;
  TexturePtr client_;
};

}  // namespace ombrevale
