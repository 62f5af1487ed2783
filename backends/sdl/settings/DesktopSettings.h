#pragma once

// What the desktop says about how it wants programs to look, behind one interface whichever
// windowing system SDL runs on: its scale, and whether its animations are on. X11 publishes them
// in the root window's resources and XSETTINGS (X11Settings), a Wayland desktop through its
// portal and the output the window is on (PortalSettings); elsewhere the desktop says nothing.

#include <SDL.h>

#include <memory>
#include <optional>

namespace ombrevale {

class DesktopSettings {
 public:
  virtual ~DesktopSettings() = default;

  // The desktop's scale: its pixels per inch over 96, as the desktop gives it, unchecked; 1 where
  // it says none.
  virtual double Scale() = 0;
  // Whether the desktop's animations are on; nothing where it does not say.
  virtual std::optional<bool> AnimationsEnabled() = 0;
  // Whether the scale may have changed since the last call (the player changed the desktop's
  // scale, or the window moved to another output); never waits.
  virtual bool Changed() = 0;
};

// The settings of the desktop SDL's video driver runs on, chosen once by that driver; `window` is
// the program's window, whose output gives the scale on Wayland. Needs SDL's video started.
std::unique_ptr<DesktopSettings> OpenDesktopSettings(SDL_Window* window);

// The window's pixels to a unit of SDL's window size: 1, but on a scaled Wayland output, where SDL
// counts the window's size in points: the output's scale (1.5, 2), as SDL draws the window at it.
double WindowPixelRatio(SDL_Window* window);
// The same as a whole number, at least 1: what a point of the window counts in its pixels.
int WindowPixelsPerUnit(SDL_Window* window);

}  // namespace ombrevale
