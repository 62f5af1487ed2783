#include "backends/sdl/present/ClientFrame.h"

#include "platform/Bevel.h"

namespace ombrevale {
namespace {

SDL_Color ToSdlColor(Pixel p) {
  return {static_cast<Uint8>(p >> 16), static_cast<Uint8>(p >> 8), static_cast<Uint8>(p), 255};
}

}  // namespace

void FillRect(SDL_Renderer* renderer, const Rect& r, Pixel color) {
  const SDL_Color c = ToSdlColor(color);
  Check(SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, c.a), "drawing the window");
  const SDL_Rect area = ToSdl(r);
  Check(SDL_RenderFillRect(renderer, &area), "drawing the window");
}

void DrawEdge(SDL_Renderer* renderer, const Rect& r, Pixel topLeft, Pixel bottomRight) {
  for (const EdgeLine& e : EdgeLines(r, topLeft, bottomRight)) FillRect(renderer, e.line, e.color);
}

ClientFrame::ClientFrame() {
  pixels_ = SdlOwn<SurfacePtr>(
      SDL_CreateRGBSurfaceWithFormat(0, kClientWidth, kClientHeight, 32, SDL_PIXELFORMAT_XRGB8888),
      "creating the client area's picture");
  Check(SDL_FillRect(pixels_.get(), nullptr, 0), "clearing the client area");
  renderer_ = SdlOwn<RendererPtr>(SDL_CreateSoftwareRenderer(pixels_.get()),
                                  "creating the client area's renderer");
}

const SDL_Surface* ClientFrame::Finish() {
  SDL_RenderFlush(renderer_.get());
  return pixels_.get();
}

}  // namespace ombrevale
