#pragma once

// Where the window draws: on the graphics card where the display has a hardware OpenGL driver,
// else in software. On X11 a software rasteriser (llvmpipe, softpipe, swrast: Xvfb, virtual
// machines, remote desktops) would only do on the processor, more slowly, what our own scaler does
// into the X server's shared memory. Wayland has no such memory for us: there SDL's own window
// memory goes through OpenGL too, at the size of the window in points, so OpenGL, whatever runs
// it, draws the page at the output's true scale.

#include <SDL.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "backends/sdl/present/Presenter.h"

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
  bool wayland = false;  // the desktop is Wayland's
};
enum class Drawing { Software, Accelerated, AskOpenGl };
// The user's driver wins ("software" draws in software, any other is asked of SDL); without one,
// Wayland draws through OpenGL, an X11 desktop with a graphics device asks OpenGL what it is, and
// everything else draws in software.
Drawing ChooseDrawing(const RendererFacts& facts);

// The presenter for `window`, chosen as above. A driver that fails falls back to software.
std::unique_ptr<Presenter> MakePresenter(SDL_Window* window);

}  // namespace ombrevale
