#pragma once

// Frames to the screen through SDL's window memory: our whole-factor scaler writes straight into
// it, the texts and boxes are drawn over, and only the client area's pixels go to the screen. On
// X11 that memory is SDL's own shared memory; on Wayland SDL keeps it at the window's size in
// points and enlarges it itself, so there the page shows at the natural size of the points.

#include "backends/sdl/present/Presenter.h"

namespace ombrevale {

class SoftwarePresenter final : public Presenter {
 public:
  explicit SoftwarePresenter(SDL_Window* window) : window_(window) {}

  bool Present(const SDL_Surface& frame, const WholeFactorFit& fit,
               std::span<const ShownLayer> layers, bool wholeWindow) override;
  SDL_Point Size() const override;
  std::string Name() const override { return "software"; }

 private:
  // Scales the frame onto the window's memory as `fit` says; returns where it lies there.
  SDL_Rect Scale(const SDL_Surface& frame, const WholeFactorFit& fit, SDL_Surface* screen);

  SDL_Window* window_;
  // The window's memory the last frame went to, and its size: a new one is cleared to black once.
  const SDL_Surface* screen_ = nullptr;
  int screenWidth_ = 0, screenHeight_ = 0;
};

}  // namespace ombrevale
