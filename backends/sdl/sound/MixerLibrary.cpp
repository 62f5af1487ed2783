// Loads the sound mixer's shared library through SDL's loader, on the first need.

#include "backends/sdl/sound/MixerLibrary.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

namespace ombrevale {

std::string MixerLibraryName() {
  const char* chosen = std::getenv("OMBREVALE_MIXER_LIBRARY");
  if (chosen != nullptr && *chosen != '\0') return chosen;
  return "libSDL2_mixer-2.0.so.0";
}

namespace {

// Finds `symbol` in `library` and stores it in `call`; false, with SDL's message in `why`, when it
// is not there.
template <typename Call>
bool Find(void* library, const char* symbol, Call& call, std::string& why) {
  void* found = SDL_LoadFunction(library, symbol);
  if (found == nullptr) {
    why = SDL_GetError();
    return false;
  }
  // A function's address comes back as an object pointer: copied bit for bit, as POSIX allows.
  static_assert(sizeof(found) == sizeof(call));
  std::memcpy(&call, &found, sizeof call);
  return true;
}

}  // namespace

const MixerCalls* MixerLibrary::Load() {
  if (tried_) return loaded_ ? &calls_ : nullptr;
  tried_ = true;
  void* library = SDL_LoadObject(name_.c_str());
  if (library == nullptr) {
    why_ = SDL_GetError();
    return nullptr;
  }
  MixerCalls& c = calls_;
  loaded_ = Find(library, "Mix_Init", c.Init, why_) && Find(library, "Mix_Quit", c.Quit, why_) &&
            Find(library, "Mix_OpenAudio", c.OpenAudio, why_) &&
            Find(library, "Mix_CloseAudio", c.CloseAudio, why_) &&
            Find(library, "Mix_ReserveChannels", c.ReserveChannels, why_) &&
            Find(library, "Mix_GetSoundFonts", c.GetSoundFonts, why_) &&
            Find(library, "Mix_LoadMUSType_RW", c.LoadMUSType_RW, why_) &&
            Find(library, "Mix_FreeMusic", c.FreeMusic, why_) &&
            Find(library, "Mix_PlayMusic", c.PlayMusic, why_) &&
            Find(library, "Mix_PauseMusic", c.PauseMusic, why_) &&
            Find(library, "Mix_ResumeMusic", c.ResumeMusic, why_) &&
            Find(library, "Mix_HaltMusic", c.HaltMusic, why_) &&
            Find(library, "Mix_PlayingMusic", c.PlayingMusic, why_) &&
            Find(library, "Mix_LoadWAV_RW", c.LoadWAV_RW, why_) &&
            Find(library, "Mix_FreeChunk", c.FreeChunk, why_) &&
            Find(library, "Mix_PlayChannelTimed", c.PlayChannelTimed, why_) &&
            Find(library, "Mix_HaltChannel", c.HaltChannel, why_) &&
            Find(library, "Mix_Playing", c.Playing, why_);
  if (!loaded_) {
    SDL_UnloadObject(library);
    calls_ = {};
    return nullptr;
  }
  // The synthesiser the mixer links, searched among the libraries it brought.
  std::string none;
  if (!Find(library, "fluid_set_log_function", c.SetSynthLog, none)) c.SetSynthLog = nullptr;
  return &calls_;
}

}  // namespace ombrevale
