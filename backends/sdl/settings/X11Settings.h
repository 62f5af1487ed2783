#pragma once

// What an X11 desktop publishes about how it wants programs to look, read the way its own toolkits
// read it: the scale, as Xft.dpi in the root window's resources (RESOURCE_MANAGER, what GNOME,
// KDE and Xfce set), or GDK_SCALE where the user set it; and whether animations are on, as the
// XSETTINGS Gtk/EnableAnimations. Over a connection of its own, so that it can watch the resources
// change while the program runs without reaching into SDL's.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "backends/sdl/settings/DesktopSettings.h"

// Xlib's connection; its header stays out of this one, as its macros clash with much else.
struct _XDisplay;

namespace ombrevale {

// The value of Xft.dpi in a resource database's text ("Xft.dpi:\t192\n..."); nothing when it says
// none, or nothing sane (a number above 0).
std::optional<double> XftDpiIn(std::string_view resources);

// A scale as GDK_SCALE gives it: a whole number from 1; nothing for anything else.
std::optional<double> GdkScaleIn(std::string_view value);

// The integer setting `name` in an XSETTINGS blob (the _XSETTINGS_SETTINGS property); nothing when
// the blob holds no such integer, or is broken.
std::optional<int32_t> XSettingsInteger(std::span<const uint8_t> blob, std::string_view name);

class X11Settings final : public DesktopSettings {
 public:
  // Over a new connection to the display SDL uses; nothing when it cannot be opened.
  static std::unique_ptr<X11Settings> Open();
  ~X11Settings() override;
  X11Settings(const X11Settings&) = delete;
  X11Settings& operator=(const X11Settings&) = delete;

  // The desktop's scale: GDK_SCALE where it is set, else Xft.dpi / 96, else 1.
  double Scale() override;
  // Whether the desktop's animations are on, when an XSETTINGS manager says.
  std::optional<bool> AnimationsEnabled() override;
  // Whether the root window's resources changed since the last call (the player changed the
  // desktop's scale); never waits.
  bool Changed() override;

 private:
  explicit X11Settings(_XDisplay* display);

  _XDisplay* display_;
  unsigned long resourceManager_;  // the atom of RESOURCE_MANAGER
};

}  // namespace ombrevale
