#pragma once

// Frames to an X11 screen without a graphics card: the client area is scaled band by band into a
// small shared-memory image, each band put on the window as soon as it is scaled, so that what a
// frame needs in memory stays small however large the window is. The border around the client
// area is the window's own black background, which the X server paints itself. The window's texts
// and boxes are drawn into each band as it passes.

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <memory>

#include "backends/sdl/present/Presenter.h"
#include "backends/sdl/SdlHandles.h"

namespace ombrevale {

class X11Presenter final : public Presenter {
 public:
  // The presenter for an X11 window, or nothing where it cannot work: another windowing system,
  // a screen that does not hold pixels as 32-bit RGB, an X server without shared memory (a
  // remote one).
  static std::unique_ptr<X11Presenter> Create(SDL_Window* window);
  ~X11Presenter() override;
  X11Presenter(const X11Presenter&) = delete;
  X11Presenter& operator=(const X11Presenter&) = delete;

  bool Present(const SDL_Surface& frame, const WholeFactorFit& fit,
               std::span<const ShownLayer> layers, bool wholeWindow) override;
  SDL_Point Size() const override;
  std::string Name() const override { return "x11-shm"; }

 private:
  X11Presenter(SDL_Window* window, Display* display, ::Window xwindow, Visual* visual, int depth);
  // Makes the band image for client rows `width` x `height` pixels wide at `factor`; false when
  // the X server takes no shared memory.
  bool MakeBand(int width, int factor);
  // Gives the band image a shared segment the X server has attached; false when it takes none.
  bool ShareBand();
  void FreeBand();
  // Lets the server paint the window's black background around the client area, which the bands
  // then cover without a flash of black.
  void ClearBorder(const WholeFactorFit& fit, int w, int h);

  SDL_Window* window_;
  Display* display_;
  ::Window xwindow_;
  Visual* visual_;
  int depth_;
  GC gc_ = nullptr;
  XShmSegmentInfo segment_{};
  XImage* band_ = nullptr;
  SurfacePtr bandSurface_;                  // the band's memory as SDL draws into it
  int bandFactor_ = 0;                      // the factor the band image was made for
  int bandRows_ = 0;                        // client rows a band holds
  int windowWidth_ = 0, windowHeight_ = 0;  // the size the window had at the last frame
};

}  // namespace ombrevale
