#include "backends/sdl/ClientFrame.h"

#include "platform/Bevel.h"

namespace ombrevale {
namespace {

SDL_Color ToSdlColor(Pixel p) {
  return {static_cast<Uint8>(p >> 16), static_cast<Uint8>(p >> 8), static_cast<Uint8>(p), 255};
}

}  // namespace

void FillRect(SDL_Renderer* renderer, const Rect& r, Pixel color) {
  const SDL_Color c = ToSdlColor(color);
  SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, c.a);
  const SDL_Rect area = ToSdl(r);
  SDL_RenderFillRect(renderer, &area);
}

void DrawEdge(SDL_Renderer* renderer, const Rect& r, Pixel topLeft, Pixel bottomRight) {
  for (const EdgeLine& e : EdgeLines(r, topLeft, bottomRight)) FillRect(renderer, e.line, e.color);
}

ClientFrame::ClientFrame() {
  pixels_ = SdlOwn<SurfacePtr>(
      SDL_CreateRGBSurfaceWithFormat(0, kClientWidth, kClientHeight, 32, SDL_PIXELFORMAT_XRGB8888),
      "Creating the client area's picture");
  SDL_FillRect(pixels_.get(), nullptr, 0);
  renderer_ = SdlOwn<RendererPtr>(SDL_CreateSoftwareRenderer(pixels_.get()),
                                  "Creating the client area's renderer");
}

const SDL_Surface* ClientFrame::Finish() {
  SDL_RenderFlush(renderer_.get());
  return pixels_.get();
}

Surface ClientFrame::Read() {
  const SDL_Surface* done = Finish();
  Surface shown(kClientWidth, kClientHeight);
  for (int y = 0; y < kClientHeight; ++y) {
    const auto* row = reinterpret_cast<const Pixel*>(static_cast<const uint8_t*>(done->pixels) +
                                                     static_cast<size_t>(y) * done->pitch);
    Pixel* out = shown.Row(y);
    for (int x = 0; x < kClientWidth; ++x) out[x] = row[x] & 0x00FFFFFF;  // the unused byte
  }
  return shown;
}

TexturePtr ClientFrame::Text(TTF_Font* font, const std::string& text, Pixel color, int& width,
                             int& height) {
  width = height = 0;
  if (font == nullptr || text.empty()) return nullptr;
  SurfacePtr drawn(TTF_RenderUTF8_Blended_Wrapped(font, text.c_str(), ToSdlColor(color), 0));
  if (!drawn) return nullptr;
  TexturePtr texture = SdlOwn<TexturePtr>(
      SDL_CreateTextureFromSurface(renderer_.get(), drawn.get()), "Creating a text texture");
  SDL_SetTextureBlendMode(texture.get(), SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(texture.get(), SDL_ScaleModeNearest);
  width = drawn->w;
  height = drawn->h;
  return texture;
}

}  // namespace ombrevale
