#pragma once

// The window's client area composed in memory at its natural size, the menu strip over the page,
// before a presenter scales it by a whole factor onto the screen; the texts and boxes drawn over
// it at the shown size are layers of their own (ShownLayer).

#include "backends/sdl/SdlHandles.h"
#include "backends/sdl/SdlRect.h"
#include "platform/PageLayout.h"
#include "platform/Rect.h"
#include "platform/Surface.h"

namespace ombrevale {

// Where the page lies in the client area, below the menu strip.
inline constexpr Rect kPageArea = {0, kMenuHeight, kPageWidth, kPageHeight};

// The composed client area: a 32-bit picture and SDL's software renderer drawing into it. The
// menu strip's faces and edges and the page draw here, the same on every screen.
class ClientFrame {
 public:
  ClientFrame();
  ClientFrame(const ClientFrame&) = delete;
  ClientFrame& operator=(const ClientFrame&) = delete;

  SDL_Renderer* Renderer() const { return renderer_.get(); }
  // The finished picture, once every drawing call has reached it.
  const SDL_Surface* Finish();

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
