#pragma once

// The product's rectangle as SDL takes it and gives it back, for every service of the backend
// that hands SDL an area to draw, fill or clip.

#include <SDL.h>

#include "platform/Rect.h"

namespace ombrevale {

inline SDL_Rect ToSdl(const Rect& r) {
  return {r.x, r.y, r.w, r.h};
}

inline Rect FromSdl(const SDL_Rect& r) {
  return {r.x, r.y, r.w, r.h};
}

}  // namespace ombrevale
