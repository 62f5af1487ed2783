#include "backends/sdl/SoftwarePresenter.h"

#include <algorithm>
#include <string>

#include "backends/sdl/ClientFrame.h"
#include "backends/sdl/SdlHandles.h"
#include "platform/FatalError.h"

namespace ombrevale {

WholeFactorFit SoftwarePresenter::Fit() const {
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  return FitWholeFactor(w, h, kClientWidth, kClientHeight);
}

bool SoftwarePresenter::Present(const SDL_Surface& frame, bool wholeWindow) {
  // Valid until the window's size changes; SDL then makes a new one.
  SDL_Surface* screen = SDL_GetWindowSurface(window_);
  if (screen == nullptr)
    throw FatalError(std::string("Reaching the window's pixels failed: ") + SDL_GetError());
  const WholeFactorFit fit = FitWholeFactor(screen->w, screen->h, frame.w, frame.h);
  if (screen != screen_ || screen->w != screenWidth_ || screen->h != screenHeight_) {
    // A new size: the border around the client area is drawn once, here, not at every frame.
    screen_ = screen;
    screenWidth_ = screen->w;
    screenHeight_ = screen->h;
    if (!fit.CoversWindow(screen->w, screen->h)) SDL_FillRect(screen, nullptr, 0);
    wholeWindow = true;
  }

  SDL_Rect area{fit.x, fit.y, fit.width, fit.height};
  if (screen->format->format == SDL_PIXELFORMAT_XRGB8888 ||
      screen->format->format == SDL_PIXELFORMAT_ARGB8888) {
    // Clipped to the window: a window smaller than the client area shows its top-left part.
    const int rows = std::min(frame.h, (screen->h - fit.y) / fit.factor);
    const int columns = std::min(frame.w, (screen->w - fit.x) / fit.factor);
    if (rows > 0 && columns > 0) {
      if (SDL_MUSTLOCK(screen)) SDL_LockSurface(screen);
      auto* at = static_cast<uint8_t*>(screen->pixels) +
                 static_cast<size_t>(fit.y) * screen->pitch +
                 static_cast<size_t>(fit.x) * sizeof(Pixel);
      ScaleWhole(static_cast<const Pixel*>(frame.pixels), static_cast<size_t>(frame.pitch), columns,
                 rows, fit.factor, reinterpret_cast<Pixel*>(at),
                 static_cast<size_t>(screen->pitch));
      if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
    }
    area.w = std::min(area.w, columns * fit.factor);
    area.h = std::min(area.h, rows * fit.factor);
  } else {
    // A screen of another pixel format: SDL converts while it scales.
    SDL_BlitScaled(const_cast<SDL_Surface*>(&frame), nullptr, screen, &area);
  }

  if (wholeWindow) {
    Check(SDL_UpdateWindowSurface(window_), "Showing the window's pixels");
  } else if (area.w > 0 && area.h > 0) {
    Check(SDL_UpdateWindowSurfaceRects(window_, &area, 1), "Showing the window's pixels");
  }
  return true;
}

}  // namespace ombrevale
