#include "backends/sdl/GpuPresenter.h"

#include "backends/sdl/ClientFrame.h"

namespace ombrevale {

GpuPresenter::GpuPresenter(SDL_Window* window, RendererPtr renderer)
    : window_(window), renderer_(std::move(renderer)) {
  client_ = SdlOwn<TexturePtr>(
      SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING,
                        kClientWidth, kClientHeight),
      "Creating the client area's texture");
  SDL_SetTextureScaleMode(client_.get(), SDL_ScaleModeNearest);
  SDL_SetTextureBlendMode(client_.get(), SDL_BLENDMODE_NONE);
}

WholeFactorFit GpuPresenter::Fit() const {
  int w = 0, h = 0;
  if (SDL_GetRendererOutputSize(renderer_.get(), &w, &h) != 0) SDL_GetWindowSize(window_, &w, &h);
  return FitWholeFactor(w, h, kClientWidth, kClientHeight);
}

std::string GpuPresenter::Name() const {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer_.get(), &info) != 0 || info.name == nullptr)
    return "accelerated";
  return info.name;
}

bool GpuPresenter::Present(const SDL_Surface& frame, bool /*wholeWindow*/) {
  SDL_Renderer* r = renderer_.get();
  Check(SDL_UpdateTexture(client_.get(), nullptr, frame.pixels, frame.pitch),
        "Handing the frame to the graphics card");
  // The card draws a whole new picture each time: the border is cleared with it, at no cost.
  SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
  SDL_RenderClear(r);
  const WholeFactorFit fit = Fit();
  const SDL_Rect area{fit.x, fit.y, fit.width, fit.height};
  Check(SDL_RenderCopy(r, client_.get(), nullptr, &area), "Drawing the frame on the graphics card");
  SDL_RenderPresent(r);
  return true;
}

}  // namespace ombrevale
