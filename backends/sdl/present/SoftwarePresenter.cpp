#include "backends/sdl/present/SoftwarePresenter.h"

#include <string>

#include "backends/sdl/SdlHandles.h"
#include "backends/sdl/SdlRect.h"
#include "platform/Rect.h"

namespace ombrevale {

namespace {

// The part of the scaled client area that lies on a window of `w` x `h`: all of it, or the
// top-left part of a window smaller than it, in whole blocks of the factor.
Rect WholeBlocksShown(const WholeFactorFit& fit, int w, int h) {
  const Rect onScreen = fit.area.Intersect(Rect{0, 0, w, h});
  return Rect{0, 0, onScreen.w / fit.factor, onScreen.h / fit.factor}
      .Scaled(fit.factor)
      .Offset(fit.area.x, fit.area.y);
}

}  // namespace

SDL_Point SoftwarePresenter::Size() const {
  // The window's memory has the window's size in SDL's units.
  SDL_Point size{};
  SDL_GetWindowSize(window_, &size.x, &size.y);
  return size;
}

SDL_Rect SoftwarePresenter::Scale(const SDL_Surface& frame, const WholeFactorFit& fit,
                                  SDL_Surface* screen) {
  if (screen->format->format != SDL_PIXELFORMAT_XRGB8888 &&
      screen->format->format != SDL_PIXELFORMAT_ARGB8888) {
    // A screen of another pixel format: SDL converts while it scales.
    SDL_Rect area = ToSdl(fit.area);
    Check(SDL_BlitScaled(const_cast<SDL_Surface*>(&frame), nullptr, screen, &area),
          "scaling the frame onto the window");
    return area;
  }
  const Rect shown = WholeBlocksShown(fit, screen->w, screen->h);
  if (!shown.Empty()) {
    if (SDL_MUSTLOCK(screen)) Check(SDL_LockSurface(screen), "reaching the window's pixels");
    auto* at = static_cast<uint8_t*>(screen->pixels) +
               static_cast<size_t>(shown.y) * screen->pitch +
               static_cast<size_t>(shown.x) * sizeof(Pixel);
    ScaleWhole(static_cast<const Pixel*>(frame.pixels), static_cast<size_t>(frame.pitch),
               shown.w / fit.factor, shown.h / fit.factor, fit.factor, reinterpret_cast<Pixel*>(at),
               static_cast<size_t>(screen->pitch));
    if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
  }
  return ToSdl(shown);
}

bool SoftwarePresenter::Present(const SDL_Surface& frame, const WholeFactorFit& fit,
                                std::span<const ShownLayer> layers, bool wholeWindow) {
  // Valid until the window's size changes; SDL then makes a new one.
  SDL_Surface* screen = SDL_GetWindowSurface(window_);
  if (screen == nullptr)
    throw FatalError(std::string("reaching the window's pixels failed: ") + SDL_GetError());
  if (screen != screen_ || screen->w != screenWidth_ || screen->h != screenHeight_) {
    // A new size: the border around the client area is drawn once, here, not at every frame.
    screen_ = screen;
    screenWidth_ = screen->w;
    screenHeight_ = screen->h;
    const Rect window{0, 0, screen->w, screen->h};
    for (const Rect& strip : window.StripsAround(WholeBlocksShown(fit, screen->w, screen->h))) {
      const SDL_Rect area = ToSdl(strip);
      if (!strip.Empty()) Check(SDL_FillRect(screen, &area, 0), "clearing the window");
    }
    wholeWindow = true;
  }

  const SDL_Rect area = Scale(frame, fit, screen);
  DrawLayers(layers, screen, fit.area.x, fit.area.y);

  if (wholeWindow) {
    Check(SDL_UpdateWindowSurface(window_), "showing the window's pixels");
  } else if (area.w > 0 && area.h > 0) {
    Check(SDL_UpdateWindowSurfaceRects(window_, &area, 1), "showing the window's pixels");
  }
  return true;
}

}  // namespace ombrevale
