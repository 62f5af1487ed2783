#pragma once

// What a Wayland desktop says about animations, through the desktop portal's settings on the
// session bus (org.freedesktop.portal.Settings): GNOME's animations switch
// (org.gnome.desktop.interface enable-animations), or KDE's animation speed at zero
// (org.kde.kdeglobals.KDE AnimationDurationFactor). A native Wayland program has no XSETTINGS to
// read it from.

#include <optional>

namespace ombrevale {

// Whether the desktop's animations are on, when the portal is there to say; nothing without a
// session bus or a portal, or when it does not answer within a quarter of a second.
std::optional<bool> PortalAnimationsEnabled();

}  // namespace ombrevale
