#pragma once

// Puts the composed client area on the window's screen: scaled by the largest whole factor that
// fits the window, centred on black. Two ways do it: our own scaler into the window's memory, or
// the graphics card.

#include <SDL.h>

#include <string>

#include "platform/scale/Scaler.h"

namespace ombrevale {

class Presenter {
 public:
  virtual ~Presenter() = default;

  // Shows `frame` (the client area at its natural size, 32-bit) on the window now. With
  // `wholeWindow`, the window lost what it showed (exposed, resized): all of it is drawn again.
  // False when this presenter can no longer show frames on the window (the X server refused it
  // the shared memory a new size needs): nothing was shown, and the window falls back to the
  // software presenter, which can always draw.
  [[nodiscard]] virtual bool Present(const SDL_Surface& frame, bool wholeWindow) = 0;
  // Where the client area lies on the window now, and at what factor.
  virtual WholeFactorFit Fit() const = 0;
  // How it draws, in a word or two: "software", or the name of SDL's accelerated renderer.
  virtual std::string Name() const = 0;
};

}  // namespace ombrevale
