#pragma once

// Puts the composed client area on the window's screen: its pictures scaled by a whole factor,
// centred on black, and over them the window's texts and boxes, drawn at the size they are shown
// at. Three ways do it: our own scaler into X11 shared memory in small bands (X11Presenter), into
// SDL's window memory (SoftwarePresenter), or the graphics card (GpuPresenter); RendererChoice
// picks one.

#include <SDL.h>

#include <span>
#include <string>

#include "backends/sdl/layers/ShownLayer.h"
#include "platform/scale/Scaler.h"

namespace ombrevale {

class Presenter {
 public:
  virtual ~Presenter() = default;

  // Shows `frame` (the client area at its natural size, 32-bit) on the window now, scaled and
  // placed as `fit` says (in the pixels of Size()), with `layers` over it in order. With
  // `wholeWindow`, the window lost what it showed (exposed, resized): all of it is drawn again.
  // False when this presenter can no longer show frames on the window (the X server refused it
  // the shared memory a new size needs): nothing was shown, and the window falls back to the
  // software presenter, which can always draw.
  [[nodiscard]] virtual bool Present(const SDL_Surface& frame, const WholeFactorFit& fit,
                                     std::span<const ShownLayer> layers, bool wholeWindow) = 0;
  // The size, in pixels, of what it draws on: the window's own pixels, which on a scaled Wayland
  // output are more than SDL's window size counts.
  virtual SDL_Point Size() const = 0;
  // How it draws, in a word or two: "x11-shm", "software", or the name of SDL's accelerated
  // renderer ("opengl", "opengles2" ...).
  virtual std::string Name() const = 0;
};

}  // namespace ombrevale
