#include "backends/sdl/settings/DesktopSettings.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "backends/sdl/settings/PortalSettings.h"
#include "backends/sdl/settings/X11Settings.h"

namespace ombrevale {
namespace {

// A desktop that says nothing (SDL's drivers that draw nowhere, or an X server whose settings
// cannot be reached): the natural scale, animations as the program has them.
class SilentSettings final : public DesktopSettings {
 public:
  double Scale() override { return 1; }
  std::optional<bool> AnimationsEnabled() override { return std::nullopt; }
  bool Changed() override { return false; }
};

bool DriverIs(const char* name) {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && std::strcmp(driver, name) == 0;
}

}  // namespace

std::unique_ptr<DesktopSettings> OpenDesktopSettings(SDL_Window* window) {
  if (DriverIs("x11")) {
    if (auto x11 = X11Settings::Open()) return x11;
  } else if (DriverIs("wayland")) {
    return std::make_unique<PortalSettings>(window);
  }
  return std::make_unique<SilentSettings>();
}

double WindowPixelRatio(SDL_Window* window) {
  int w = 0, h = 0, pw = 0, ph = 0;
  SDL_GetWindowSize(window, &w, &h);
  SDL_GetWindowSizeInPixels(window, &pw, &ph);
  return w > 0 && pw > 0 ? static_cast<double>(pw) / w : 1;
}

int WindowPixelsPerUnit(SDL_Window* window) {
  return std::max(1, static_cast<int>(std::floor(WindowPixelRatio(window) + 0.5)));
}

}  // namespace ombrevale
