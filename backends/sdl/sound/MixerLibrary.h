#pragma once
// The sound mixer's shared library, loaded when the first piece or wave needs it and not at start:
// it brings the MIDI synthesiser, GLib, the sound servers' clients and some seventy libraries more,
// which a program that never plays a sound should not pay for in start-up time and memory.

#include <SDL_mixer.h>

#include <string>
#include <utility>

namespace ombrevale {

// Where FluidSynth, the mixer's MIDI synthesiser, says its lines (fluid_set_log_function): a
// function for each level of its log, from 0 (panic) to 4 (debug).
using SynthLogFunction = void (*)(int level, const char* message, void* data);
using SynthSetLog = SynthLogFunction (*)(int level, SynthLogFunction function, void* data);

// The mixer's calls the desktop's sound uses, found by name in the loaded library.
struct MixerCalls {
  decltype(&Mix_Init) Init;
  decltype(&Mix_Quit) Quit;
  decltype(&Mix_OpenAudio) OpenAudio;
  decltype(&Mix_CloseAudio) CloseAudio;
  decltype(&Mix_ReserveChannels) ReserveChannels;
  decltype(&Mix_GetSoundFonts) GetSoundFonts;
  decltype(&Mix_LoadMUSType_RW) LoadMUSType_RW;
  decltype(&Mix_FreeMusic) FreeMusic;
  decltype(&Mix_PlayMusic) PlayMusic;
  decltype(&Mix_PauseMusic) PauseMusic;
  decltype(&Mix_ResumeMusic) ResumeMusic;
  decltype(&Mix_HaltMusic) HaltMusic;
  decltype(&Mix_PlayingMusic) PlayingMusic;
  decltype(&Mix_LoadWAV_RW) LoadWAV_RW;
  decltype(&Mix_FreeChunk) FreeChunk;
  decltype(&Mix_PlayChannelTimed) PlayChannelTimed;
  decltype(&Mix_HaltChannel) HaltChannel;
  decltype(&Mix_Playing) Playing;
  // FluidSynth's, found among the libraries the mixer links; nullptr where it links none.
  SynthSetLog SetSynthLog;
};

// The file name the mixer is loaded from: the one Debian's libsdl2-mixer-2.0-0 installs, found by
// the system's loader; or the variable OMBREVALE_MIXER_LIBRARY when set and not empty (another
// build of the mixer, or a name that loads nothing, to run as a machine without sound).
std::string MixerLibraryName();

// One attempt at loading the mixer, made at the first Load() and remembered.
class MixerLibrary {
 public:
  explicit MixerLibrary(std::string name) : name_(std::move(name)) {}
  // The library stays loaded for the rest of the process: the synthesiser and GLib it brings are
  // not made to be unloaded.
  ~MixerLibrary() = default;
  MixerLibrary(const MixerLibrary&) = delete;
  MixerLibrary& operator=(const MixerLibrary&) = delete;

  // The calls, or nullptr when the library cannot be loaded or lacks one of them (Why() says
  // which, in the loader's words).
  const MixerCalls* Load();
  const std::string& Why() const { return why_; }
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  bool tried_ = false;
  bool loaded_ = false;
  MixerCalls calls_{};
  std::string why_;
};

}  // namespace ombrevale
