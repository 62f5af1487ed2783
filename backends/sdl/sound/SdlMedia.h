#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "backends/sdl/sound/MixerLibrary.h"
#include "platform/Media.h"

namespace ombrevale {

// The desktop's sound: the text-command music service and the wave player on SDL2_mixer. Music is
// MIDI, played by the mixer's FluidSynth decoder with the system's default General MIDI soundfont,
// from the plain file the SMF reader writes of a piece (platform/midi/PlainSmf.h), so that every
// file the reader accepts sounds, for as long as it measured; FluidSynth's own lines are kept off
// stderr (a piece it refuses says them in LastError). Waves play on a mixer channel of their own.
//
// Constructing it touches no audio device and loads no mixer: the mixer's library is loaded, and
// SDL's audio and the mixer opened, when the first piece is opened or the first wave played, and
// only once. When that fails (no mixer library, no sound card, no driver) every open and wave call
// answers "no audio device" and the program runs silent; without a soundfont only the pieces do.
// A missing mixer library or soundfont is told to the notice, in one sentence, once.
// Destroy it before SDL_Quit.
class SdlMedia final : public Media {
 public:
  // The mixer channel reserved for waves.
  static constexpr int kWaveChannel = 0;

  // Tells the person at the desktop, in one sentence, what sound they will not hear and why.
  using Notice = std::function<void(const std::string& sentence)>;

  // `mixerLibrary` is the file the mixer is loaded from (see MixerLibraryName).
  explicit SdlMedia(std::string mixerLibrary = MixerLibraryName(), Notice notice = {});
  ~SdlMedia() override;
  SdlMedia(const SdlMedia&) = delete;
  SdlMedia& operator=(const SdlMedia&) = delete;

  int32_t mciSendStringA(std::string_view command, char* reply, uint32_t replyCapacity,
                         uintptr_t callback) override;
  bool sndPlaySoundA(std::string_view name, uint32_t flags) override;

  // True once the audio output has been opened.
  bool AudioOpen() const;
  // Why the last failure of the output, a piece or a wave happened, in SDL's or the file reader's
  // words; empty when nothing failed.
  const std::string& LastError() const;
  // The status of the last wave call (see MciService::LastWaveStatus).
  int32_t LastWaveStatus() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ombrevale
