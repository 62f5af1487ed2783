#pragma once

// Where the window draws: on the graphics card where the display has a hardware OpenGL driver,
// else in software. A software rasteriser (llvmpipe, softpipe, swrast: Xvfb, virtual machines,
// remote desktops) would only do on the processor, more slowly, what our own scaler does.

#include <SDL.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "backends/sdl/Presenter.h"

namespace ombrevale {

// Whether an OpenGL renderer string names a rasteriser that runs on the processor.
bool IsSoftwareRasteriser(std::string_view glRenderer);

// Whether this machine has a graphics device a hardware OpenGL driver could drive: a DRM render
// node or card, or NVIDIA's own device. Without one, no GL is worth loading.
bool HasGraphicsDevice();

// What the choice rests on, so that it can be made and tested without a screen.
struct RendererFacts {
  std::optional<std::string> userDriver;  // SDL_RENDER_DRIVER, when set and not empty
  bool windowingSystem = false;           // a real desktop (X11 or Wayland), not SDL's dummy
  bool graphicsDevice = false;
};
enum class Drawing { Software, Accelerated, AskOpenGl };
// The user's driver wins ("software" draws in software, any other is asked of SDL); without one,
// a desktop with a graphics device asks OpenGL what it is; everything else draws in software.
Drawing ChooseDrawing(const RendererFacts& facts);

// The presenter for `window`, chosen as above. A driver that fails falls back to software.
std::unique_ptr<Presenter> MakePresenter(SDL_Window* window);

}  // namespace ombrevale
