#include "platform/sdl/Fullscreen.h"

namespace ombrevale {

bool IsFullscreenKey(const SDL_KeyboardEvent& key) {
  if (key.repeat != 0) return false;
  const SDL_Keycode sym = key.keysym.sym;
  const uint16_t mod = key.keysym.mod;
  if (sym == SDLK_F11) return (mod & (KMOD_CTRL | KMOD_ALT | KMOD_SHIFT | KMOD_GUI)) == 0;
  const bool enter = sym == SDLK_RETURN || sym == SDLK_RETURN2 || sym == SDLK_KP_ENTER;
  return enter && (mod & KMOD_ALT) != 0 && (mod & (KMOD_CTRL | KMOD_GUI)) == 0;
}

bool Fullscreen::On() const {
  return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void Fullscreen::Set(bool on) {
  if (on == On()) return;
  if (on) {
    SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
    SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
    remembered_ = true;
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    return;
  }
  SDL_SetWindowFullscreen(window_, 0);
  if (remembered_) {
    // A window manager puts the window back by itself; without one, the window is told.
    SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
    SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
  }
}

}  // namespace ombrevale
