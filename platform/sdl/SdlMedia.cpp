#include "platform/sdl/SdlMedia.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <filesystem>
#include <utility>
#include <vector>

#include "platform/mci/Mci.h"
#include "platform/midi/Smf.h"

namespace ombrevale {

namespace {

struct MusicDeleter {
  void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
};
struct ChunkDeleter {
  void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};
using MusicPtr = std::unique_ptr<Mix_Music, MusicDeleter>;
using ChunkPtr = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

// A wave larger than this is refused before the mixer decodes it into memory.
constexpr uintmax_t MaxWaveBytes = uintmax_t{64} << 20;

// 1024 frames at 44.1 kHz: 23 ms from a start to the speaker.
constexpr int MixerFrames = 1024;

// SDL's audio subsystem and the mixer's device: opened on the first need, once; a failure is
// remembered so that a machine without sound is asked only once.
class SdlAudio {
 public:
  explicit SdlAudio(std::string& error) : error_(error) {}
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;
  ~SdlAudio() {
    if (deviceOpen_) Mix_CloseAudio();
    if (mixerInit_) Mix_Quit();
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  bool IsOpen() const { return deviceOpen_; }

  bool Ensure() {
    if (tried_) return deviceOpen_;
    tried_ = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      error_ = SDL_GetError();
      return false;
    }
    subsystem_ = true;
    // MIDI is the only music we play; a missing decoder shows when a piece fails to load.
    mixerInit_ = true;
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, MixerFrames) != 0) {
      error_ = Mix_GetError();
      return false;
    }
    deviceOpen_ = true;
    Mix_ReserveChannels(SdlMedia::WaveChannel + 1);  // no other sound is put on the wave channel
    return true;
  }

 private:
  std::string& error_;
  bool tried_ = false;
  bool subsystem_ = false;
  bool mixerInit_ = false;
  bool deviceOpen_ = false;
};

class SdlMusicStream;

// Pieces on the mixer's one music stream. The mixer plays one piece at a time; `owner` is the
// piece that last started, so the others know they were cut.
class SdlMusicDevice final : public MusicDevice {
 public:
  SdlMusicDevice(SdlAudio& audio, std::string& error) : audio_(audio), error_(error) {}

  int32_t Open(const std::string& path, std::unique_ptr<MusicStream>& stream,
               int64_t& lengthMs) override;

  SdlMusicStream* owner = nullptr;
  std::string& error() { return error_; }

 private:
  SdlAudio& audio_;
  std::string& error_;
};

// One MIDI piece. FluidSynth cannot seek: the start is always a fresh Mix_PlayMusic, and a stop
// is a mixer pause, which keeps the position for the next play.
class SdlMusicStream final : public MusicStream {
 public:
  SdlMusicStream(SdlMusicDevice& device, MusicPtr music, std::vector<uint8_t> bytes)
      : device_(device), music_(std::move(music)), bytes_(std::move(bytes)) {}
  ~SdlMusicStream() override { Halt(); }

  bool Start() override {
    if (Mix_PlayMusic(music_.get(), 0) != 0) {
      device_.error() = Mix_GetError();
      if (device_.owner == this) device_.owner = nullptr;
      return false;
    }
    device_.owner = this;
    return true;
  }
  void Pause() override {
    if (Owns()) Mix_PauseMusic();
  }
  bool Resume() override {
    if (!Owns() || Mix_PlayingMusic() == 0) return false;
    Mix_ResumeMusic();
    return true;
  }
  void Halt() override {
    if (!Owns()) return;
    Mix_HaltMusic();
    device_.owner = nullptr;
  }
  bool Sounding() override { return Owns() && Mix_PlayingMusic() != 0; }

 private:
  bool Owns() const { return device_.owner == this; }

  SdlMusicDevice& device_;
  MusicPtr music_;
  std::vector<uint8_t> bytes_;  // the file, kept while the mixer may read it
};

int32_t SdlMusicDevice::Open(const std::string& path, std::unique_ptr<MusicStream>& stream,
                             int64_t& lengthMs) {
  // The file is checked before the output is opened, so a bad path never wakes the sound card.
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    error_ = "no such file: " + path;
    return MciErrFileMissing;
  }
  std::vector<uint8_t> bytes;
  if (!std::filesystem::is_regular_file(path, ec) || !ReadSmallFile(path, bytes)) {
    error_ = "cannot read " + path;
    return MciErrFileNotPlayable;
  }
  const SmfInfo info = ReadSmf(bytes);
  if (!info.ok) {
    error_ = std::string("not a playable MIDI file: ").append(info.error);
    return MciErrFileNotPlayable;
  }
  if (!audio_.Ensure()) return MciErrNoAudioDevice;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (rw == nullptr) {
    error_ = SDL_GetError();
    return MciErrFileNotPlayable;
  }
  MusicPtr music(Mix_LoadMUSType_RW(rw, MUS_MID, SDL_TRUE));  // the mixer closes `rw`
  if (!music) {
    error_ = Mix_GetError();
    return MciErrFileNotPlayable;
  }
  lengthMs = static_cast<int64_t>(std::ceil(info.seconds * 1000.0));
  stream = std::make_unique<SdlMusicStream>(*this, std::move(music), std::move(bytes));
  return MciSuccess;
}

// Waves on the reserved mixer channel, one at a time.
class SdlWaveDevice final : public WaveDevice {
 public:
  SdlWaveDevice(SdlAudio& audio, std::string& error) : audio_(audio), error_(error) {}
  ~SdlWaveDevice() override { Stop(); }

  int32_t Play(const std::string& path, bool loop) override {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
      error_ = "no such file: " + path;
      return MciErrFileMissing;
    }
    const uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > MaxWaveBytes) {
      error_ = "cannot read " + path;
      return MciErrFileNotPlayable;
    }
    if (!audio_.Ensure()) return MciErrNoAudioDevice;
    Stop();
    ChunkPtr chunk(Mix_LoadWAV(path.c_str()));
    if (!chunk) {
      error_ = Mix_GetError();
      return MciErrFileNotPlayable;
    }
    if (Mix_PlayChannel(SdlMedia::WaveChannel, chunk.get(), loop ? -1 : 0) == -1) {
      error_ = Mix_GetError();
      return MciErrDeviceFailed;
    }
    chunk_ = std::move(chunk);
    return MciSuccess;
  }

  void Stop() override {
    if (!audio_.IsOpen()) return;  // nothing can play, and a stop must not open the output
    Mix_HaltChannel(SdlMedia::WaveChannel);
    chunk_.reset();
  }

  bool Playing() override { return audio_.IsOpen() && Mix_Playing(SdlMedia::WaveChannel) != 0; }

  void WaitEnd() override {
    while (Playing()) SDL_Delay(5);
  }

 private:
  SdlAudio& audio_;
  std::string& error_;
  ChunkPtr chunk_;  // the wave on the channel; freed only after the channel was halted
};

}  // namespace

// Members are destroyed in reverse order: the service frees its pieces and the wave device its
// chunk before the output closes.
struct SdlMedia::Impl {
  std::string error;
  SdlAudio audio{error};
  SdlMusicDevice music{audio, error};
  SdlWaveDevice waves{audio, error};
  MciService service{music, waves};
};

SdlMedia::SdlMedia() : impl_(std::make_unique<Impl>()) {}
SdlMedia::~SdlMedia() = default;

int32_t SdlMedia::mciSendStringA(std::string_view command, char* reply, uint32_t replyCapacity,
                                 uintptr_t callback) {
  return impl_->service.mciSendStringA(command, reply, replyCapacity, callback);
}

bool SdlMedia::sndPlaySoundA(std::string_view name, uint32_t flags) {
  return impl_->service.sndPlaySoundA(name, flags);
}

bool SdlMedia::AudioOpen() const {
  return impl_->audio.IsOpen();
}
const std::string& SdlMedia::LastError() const {
  return impl_->error;
}
int32_t SdlMedia::LastWaveStatus() const {
  return impl_->service.LastWaveStatus();
}

}  // namespace ombrevale
