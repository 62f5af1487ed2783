#pragma once

// The window's client area composed in memory at its natural size, the menu strip over the page,
// before it goes to the screen at whatever size the window has.

#include <string>

#include "backends/sdl/SdlHandles.h"
#include "platform/PageLayout.h"
#include "platform/Rect.h"
#include "platform/Surface.h"

namespace ombrevale {

// Where the page lies in the client area, below the menu strip.
inline constexpr Rect kPageArea = {0, kMenuHeight, kPageWidth, kPageHeight};

// A rectangle as SDL takes it.
inline SDL_Rect ToSdl(const Rect& r) {
  return {r.x, r.y, r.w, r.h};
}

// The composed client area: a 32-bit picture and SDL's software renderer drawing into it. The
// menu strip, the page, its labels and the window's box all draw here, the same on every screen,
// so what a frame shows does not depend on where it is shown.
class ClientFrame {
 public:
  ClientFrame();
  ClientFrame(const ClientFrame&) = delete;
  ClientFrame& operator=(const ClientFrame&) = delete;

  SDL_Renderer* Renderer() const { return renderer_.get(); }
  // The finished picture, once every drawing call has reached it.
  const SDL_Surface* Finish();
  // A copy of the finished picture.
  Surface Read();

  // A text drawn once into a texture of this renderer, left-aligned, broken at "\n" only; nothing
  // when there is no font or no text, or the font cannot lay it out.
  TexturePtr Text(TTF_Font* font, const std::string& text, Pixel color, int& width, int& height);

 private:
  SurfacePtr pixels_;
  RendererPtr renderer_;
};

// Fills a rectangle of the client area with one colour.
void FillRect(SDL_Renderer* renderer, const Rect& r, Pixel color);
// A 1-pixel raised or sunken edge just inside `r`: `topLeft` along the top and left, `bottomRight`
// along the rest.
void DrawEdge(SDL_Renderer* renderer, const Rect& r, Pixel topLeft, Pixel bottomRight);

}  // namespace ombrevale
