#include "backends/sdl/window/Fullscreen.h"

#include <SDL_syswm.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>

namespace ombrevale {

bool IsFullscreenKey(const SDL_KeyboardEvent& key) {
  if (key.repeat != 0) return false;
  const SDL_Keycode sym = key.keysym.sym;
  const uint16_t mod = key.keysym.mod;
  if (sym == SDLK_F11) return (mod & (KMOD_CTRL | KMOD_ALT | KMOD_SHIFT | KMOD_GUI)) == 0;
  const bool enter = sym == SDLK_RETURN || sym == SDLK_RETURN2 || sym == SDLK_KP_ENTER;
  return enter && (mod & KMOD_ALT) != 0 && (mod & (KMOD_CTRL | KMOD_GUI)) == 0;
}

bool ManagerGrantsFullscreen(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
  Display* display = info.info.x11.display;
  const Atom supported = XInternAtom(display, "_NET_SUPPORTED", True);
  const Atom fullscreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", True);
  if (supported == None || fullscreen == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, DefaultRootWindow(display), supported, 0, 4096, False, XA_ATOM,
                         &type, &format, &count, &after, &data) != Success ||
      data == nullptr) {
    return false;
  }
  bool found = false;
  const auto* atoms = reinterpret_cast<const Atom*>(data);
  for (unsigned long i = 0; i < count && format == 32; ++i) found |= atoms[i] == fullscreen;
  XFree(data);
  return found;
}

bool Fullscreen::On() const {
  return selfMade_ || (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void Fullscreen::Set(bool on) {
  if (on == On()) return;
  if (on) {
    SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
    SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
    remembered_ = true;
    SDL_Rect display{};
    if (!ManagerGrantsFullscreen(window_) &&
        SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &display) == 0) {
      selfMade_ = true;
      SDL_SetWindowPosition(window_, display.x, display.y);
      SDL_SetWindowSize(window_, display.w, display.h);
      return;
    }
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    return;
  }
  if (selfMade_)
    selfMade_ = false;
  else
    SDL_SetWindowFullscreen(window_, 0);
  if (remembered_) {
    // A window manager puts the window back by itself; without one, the window is told.
    SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
    SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
  }
}

}  // namespace ombrevale
