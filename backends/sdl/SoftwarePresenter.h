#pragma once

// Frames to the screen without a graphics card: our whole-factor scaler writes straight into the
// window's own memory (X11 shared memory), and only the client area's pixels go to the server.

#include "backends/sdl/Presenter.h"

namespace ombrevale {

class SoftwarePresenter final : public Presenter {
 public:
  explicit SoftwarePresenter(SDL_Window* window) : window_(window) {}

  bool Present(const SDL_Surface& frame, bool wholeWindow) override;
  WholeFactorFit Fit() const override;
  std::string Name() const override { return "software"; }

 private:
  SDL_Window* window_;
  // The window's memory the last frame went to, and its size: a new one is cleared to black once.
  const SDL_Surface* screen_ = nullptr;
  int screenWidth_ = 0, screenHeight_ = 0;
};

}  // namespace ombrevale
