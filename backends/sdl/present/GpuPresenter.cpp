#include "backends/sdl/present/GpuPresenter.h"

#include "backends/sdl/SdlRect.h"
#include "backends/sdl/present/ClientFrame.h"

namespace ombrevale {

GpuPresenter::GpuPresenter(SDL_Window* window, RendererPtr renderer)
    : window_(window), renderer_(std::move(renderer)) {
  client_ = SdlOwn<TexturePtr>(
      SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING,
                        kClientWidth, kClientHeight),
      "creating the client area's texture");
  SDL_SetTextureScaleMode(client_.get(), SDL_ScaleModeNearest);
  SDL_SetTextureBlendMode(client_.get(), SDL_BLENDMODE_NONE);
}

SDL_Point GpuPresenter::Size() const {
  SDL_Point size{};
  if (SDL_GetRendererOutputSize(renderer_.get(), &size.x, &size.y) != 0)
    SDL_GetWindowSize(window_, &size.x, &size.y);
  return size;
}

std::string GpuPresenter::Name() const {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer_.get(), &info) != 0 || info.name == nullptr)
    return "accelerated";
  return info.name;
}

SDL_Texture* GpuPresenter::TextureOf(const ShownLayer& layer, LayerTexture& kept) {
  if (!kept.texture || kept.version != layer.version) {
    kept.texture = SdlOwn<TexturePtr>(
        SDL_CreateTextureFromSurface(renderer_.get(), const_cast<SDL_Surface*>(layer.pixels)),
        "handing the window's text to the graphics card");
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    SDL_GetSurfaceBlendMode(const_cast<SDL_Surface*>(layer.pixels), &mode);
    SDL_SetTextureBlendMode(kept.texture.get(), mode);
    kept.version = layer.version;
  }
  return kept.texture.get();
}

bool GpuPresenter::Present(const SDL_Surface& frame, const WholeFactorFit& fit,
                           std::span<const ShownLayer> layers, bool /*wholeWindow*/) {
  SDL_Renderer* r = renderer_.get();
  Check(SDL_UpdateTexture(client_.get(), nullptr, frame.pixels, frame.pitch),
        "handing the frame to the graphics card");
  // The card draws a whole new picture each time: the border is cleared with it, at no cost.
  Check(SDL_SetRenderDrawColor(r, 0, 0, 0, 255), "clearing the window");
  Check(SDL_RenderClear(r), "clearing the window");
  const SDL_Rect area = ToSdl(fit.area);
  Check(SDL_RenderCopy(r, client_.get(), nullptr, &area), "drawing the frame on the graphics card");

  layers_.resize(layers.size());
  for (size_t i = 0; i < layers.size(); ++i) {
    const ShownLayer& layer = layers[i];
    if (layer.pixels == nullptr) continue;
    SDL_Texture* texture = TextureOf(layer, layers_[i]);
    // The layer's place and clip in the client area as shown, moved to where that lies.
    const Rect place{layer.at.x, layer.at.y, layer.pixels->w, layer.pixels->h};
    const SDL_Rect clip = ToSdl(FromSdl(layer.clip).Offset(fit.area.x, fit.area.y));
    const SDL_Rect at = ToSdl(place.Offset(fit.area.x, fit.area.y));
    Check(SDL_RenderSetClipRect(r, &clip), "drawing the window's text and boxes");
    Check(SDL_RenderCopy(r, texture, nullptr, &at), "drawing the window's text and boxes");
  }
  Check(SDL_RenderSetClipRect(r, nullptr), "drawing the window's text and boxes");
  SDL_RenderPresent(r);
  return true;
}

}  // namespace ombrevale
