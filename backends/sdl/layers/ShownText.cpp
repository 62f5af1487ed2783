#include "backends/sdl/layers/ShownText.h"

namespace ombrevale {

void ShownText::Draw(Fonts& fonts, std::string_view text, std::string_view family, int pixels,
                     bool bold, Pixel color, int factor) {
  if (surface_ && text == text_ && family == family_ && pixels == pixels_ && bold == bold_ &&
      color == color_ && factor == factor_) {
    return;
  }
  text_ = text;
  family_ = family;
  pixels_ = pixels;
  bold_ = bold;
  color_ = color;
  factor_ = factor;
  surface_.reset();
  version_ = NextLayerVersion();
  TTF_Font* font = fonts.OpenPixels(family, pixels * factor, bold);
  if (font == nullptr || text.empty()) return;
  const SDL_Color c{static_cast<Uint8>(color >> 16), static_cast<Uint8>(color >> 8),
                    static_cast<Uint8>(color), 255};
  // Lines break where the text breaks them, never to fit a width.
  surface_.reset(TTF_RenderUTF8_Blended_Wrapped(font, text_.c_str(), c, 0));
  if (surface_) SDL_SetSurfaceBlendMode(surface_.get(), SDL_BLENDMODE_BLEND);
}

ShownLayer ShownText::At(SDL_Point at, const Rect& clip) const {
  return {
      surface_.get(), {at.x, at.y, Width(), Height()}, {clip.x, clip.y, clip.w, clip.h}, version_};
}

}  // namespace ombrevale
