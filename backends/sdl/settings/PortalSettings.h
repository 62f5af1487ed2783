#pragma once

// What a Wayland desktop says: the scale of the output the window is on (the window's pixels to
// its points), and whether animations are on, through the desktop portal's settings on the session
// bus (org.freedesktop.portal.Settings): GNOME's animations switch
// (org.gnome.desktop.interface enable-animations), or KDE's animation speed at zero
// (org.kde.kdeglobals.KDE AnimationDurationFactor). A native Wayland program has no XSETTINGS to
// read it from.

#include <SDL.h>

#include <optional>

#include "backends/sdl/settings/DesktopSettings.h"

namespace ombrevale {

class PortalSettings final : public DesktopSettings {
 public:
  explicit PortalSettings(SDL_Window* window) : window_(window) {}

  double Scale() override;
  // Asked of the portal on a connection of its own, closed again; nothing without a session bus
  // or a portal, or when it does not answer within a quarter of a second.
  std::optional<bool> AnimationsEnabled() override;
  // Whether the window's pixels to its points differ from the scale last given.
  bool Changed() override;

 private:
  SDL_Window* window_;
  double lastScale_ = 0;
};

}  // namespace ombrevale
