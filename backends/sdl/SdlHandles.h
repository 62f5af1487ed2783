#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/FatalError.h"

namespace ombrevale {

// Destroys an SDL, SDL_ttf (or other C library) object with its own destroy function.
template <auto Destroy>
struct SdlDeleter {
  template <class T>
  void operator()(T* handle) const {
    Destroy(handle);
  }
};

using WindowPtr = std::unique_ptr<SDL_Window, SdlDeleter<SDL_DestroyWindow>>;
using RendererPtr = std::unique_ptr<SDL_Renderer, SdlDeleter<SDL_DestroyRenderer>>;
using TexturePtr = std::unique_ptr<SDL_Texture, SdlDeleter<SDL_DestroyTexture>>;
using SurfacePtr = std::unique_ptr<SDL_Surface, SdlDeleter<SDL_FreeSurface>>;
using RWopsPtr = std::unique_ptr<SDL_RWops, SdlDeleter<SDL_RWclose>>;
using FontPtr = std::unique_ptr<TTF_Font, SdlDeleter<TTF_CloseFont>>;

// Takes ownership of what an SDL create call returned. A null result is a failure: it becomes a
// FatalError that names the call and carries SDL's reason (SDL_GetError is read only then, as it
// may hold a stale message after calls that succeeded).
template <class Ptr>
Ptr SdlOwn(typename Ptr::pointer handle, std::string_view what) {
  if (handle == nullptr) throw FatalError(std::string(what) + " failed: " + SDL_GetError());
  return Ptr(handle);
}

// Checks the status of a drawing call whose failure would leave the window blank: a negative status
// becomes a FatalError that names the call and carries SDL's reason.
inline void Check(int status, std::string_view what) {
  if (status < 0) throw FatalError(std::string(what) + " failed: " + SDL_GetError());
}

}  // namespace ombrevale
