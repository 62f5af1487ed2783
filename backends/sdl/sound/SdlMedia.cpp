#include "backends/sdl/sound/SdlMedia.h"

#include <SDL.h>

#include <cmath>
#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

#include "backends/sdl/sound/MixerLibrary.h"
#include "backends/sdl/sound/SynthLines.h"
#include "platform/files/RegularFile.h"
#include "platform/mci/Mci.h"
#include "platform/midi/PlainSmf.h"
#include "platform/midi/Smf.h"

namespace ombrevale {

namespace {

// A wave larger than this is refused before the mixer decodes it into memory.
constexpr uint64_t kMaxWaveBytes = uint64_t{64} << 20;

// 1024 frames at 44.1 kHz: 23 ms from a start to the speaker.
constexpr int kMixerFrames = 1024;

// True when one of the soundfonts the mixer names (a list separated by ';') is a readable file.
bool SoundfontThere(const char* names) {
  if (names == nullptr) return false;
  std::string_view rest(names);
  while (!rest.empty()) {
    const size_t end = rest.find(';');
    const std::string name(rest.substr(0, end));
    std::error_code ec;
    if (!name.empty() && std::filesystem::is_regular_file(name, ec)) return true;
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return false;
}

// Reads the whole of a piece or a wave of at most `maxBytes` into `bytes`, opened and checked in
// one step (platform/files/): a FIFO or a device put in its place is refused at once, where an
// open that waited for its writer would hold the program for good. The status of the open; where
// it fails, `error` says why.
int32_t ReadSoundFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes,
                      std::string& error) {
  RegularFile file(path);
  if (file.Missing()) {
    error = "no such file: " + path;
    return kMciErrFileMissing;
  }
  if (!file.IsOpen() || !file.ReadRest(bytes, maxBytes)) {
    error = "cannot read " + path;
    return kMciErrFileNotPlayable;
  }
  return kMciSuccess;
}

// The mixer's library, SDL's audio subsystem and the mixer's device: loaded and opened on the
// first need, once; a failure is remembered so that a machine without sound is asked only once.
// Where the library or the soundfont is missing, `notice` is told so, in one sentence, once.
class SdlAudio {
 public:
  SdlAudio(std::string& error, std::string mixerLibrary, SdlMedia::Notice notice)
      : error_(error), library_(std::move(mixerLibrary)), notice_(std::move(notice)) {}
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;
  ~SdlAudio() {
    if (deviceOpen_) mix_->CloseAudio();
    if (mixerInit_) mix_->Quit();
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  bool IsOpen() const { return deviceOpen_; }
  // The mixer's calls; only once the output is open.
  const MixerCalls& Mix() const { return *mix_; }

  bool Ensure() {
    if (tried_) return deviceOpen_;
    tried_ = true;
    mix_ = library_.Load();
    if (mix_ == nullptr) {
      error_ = library_.Why();
      Tell("no sound: the mixer could not be loaded (" + error_ + ")");
      return false;
    }
    synth_.Take(*mix_);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      error_ = SDL_GetError();
      return false;
    }
    subsystem_ = true;
    // MIDI is the only music we play; a missing decoder shows when a piece fails to load.
    mixerInit_ = true;
    mix_->Init(MIX_INIT_MID);
    if (mix_->OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, kMixerFrames) != 0) {
      error_ = SDL_GetError();
      return false;
    }
    deviceOpen_ = true;
    mix_->ReserveChannels(SdlMedia::kWaveChannel + 1);  // no other sound is put on the wave channel
    return true;
  }

  // What the synthesiser said last, since it was last asked.
  std::string SynthSaid() { return synth_.Last(); }

  // Whether pieces can sound: the output is open and the synthesiser has a soundfont. Asked once.
  bool EnsureMusic() {
    if (!Ensure()) return false;
    if (!soundfontTried_) {
      soundfontTried_ = true;
      const char* names = mix_->GetSoundFonts();
      soundfont_ = SoundfontThere(names);
      if (!soundfont_) {
        error_ = std::string("no General MIDI soundfont at ") + (names ? names : "any known place");
        Tell("no music: " + error_);
      }
    }
    return soundfont_;
  }

 private:
  void Tell(const std::string& sentence) {
    if (notice_) notice_(sentence);
  }

  std::string& error_;
  MixerLibrary library_;
  SdlMedia::Notice notice_;
  const MixerCalls* mix_ = nullptr;
  SynthLines synth_;  // quietened after the mixer closed
  bool tried_ = false;
  bool subsystem_ = false;
  bool mixerInit_ = false;
  bool deviceOpen_ = false;
  bool soundfontTried_ = false;
  bool soundfont_ = false;
};

// Frees a piece or a wave through the mixer that loaded it.
struct MusicDeleter {
  const MixerCalls* mix = nullptr;
  void operator()(Mix_Music* music) const { mix->FreeMusic(music); }
};
struct ChunkDeleter {
  const MixerCalls* mix = nullptr;
  void operator()(Mix_Chunk* chunk) const { mix->FreeChunk(chunk); }
};
using MusicPtr = std::unique_ptr<Mix_Music, MusicDeleter>;
using ChunkPtr = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

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
  SdlMusicStream(SdlMusicDevice& device, const MixerCalls& mix, MusicPtr music,
                 std::vector<uint8_t> bytes)
      : device_(device), mix_(mix), music_(std::move(music)), bytes_(std::move(bytes)) {}
  ~SdlMusicStream() override { Halt(); }

  bool Start() override {
    if (mix_.PlayMusic(music_.get(), 0) != 0) {
      device_.error() = SDL_GetError();
      if (device_.owner == this) device_.owner = nullptr;
      return false;
    }
    device_.owner = this;
    return true;
  }
  void Pause() override {
    if (Owns()) mix_.PauseMusic();
  }
  bool Resume() override {
    if (!Owns() || mix_.PlayingMusic() == 0) return false;
    mix_.ResumeMusic();
    return true;
  }
  void Halt() override {
    if (!Owns()) return;
    mix_.HaltMusic();
    device_.owner = nullptr;
  }
  bool Sounding() override { return Owns() && mix_.PlayingMusic() != 0; }

 private:
  bool Owns() const { return device_.owner == this; }

  SdlMusicDevice& device_;
  const MixerCalls& mix_;
  MusicPtr music_;
  std::vector<uint8_t> bytes_;  // the plain file, kept while the mixer may read it
};

int32_t SdlMusicDevice::Open(const std::string& path, std::unique_ptr<MusicStream>& stream,
                             int64_t& lengthMs) {
  // The file is read before the output is opened, so a bad path never wakes the sound card.
  std::vector<uint8_t> bytes;
  if (const int32_t status = ReadSoundFile(path, kSmfMaxFileBytes, bytes, error_);
      status != kMciSuccess)
    return status;
  // The synthesiser plays the piece as the reader understood it, written plain: what sounds, and
  // for how long, is what was measured.
  PlainSmf plain = WritePlainSmf(bytes);
  if (!plain.info.ok) {
    error_ = std::string("not a playable MIDI file: ").append(plain.info.error);
    return kMciErrFileNotPlayable;
  }
  if (!audio_.EnsureMusic()) return kMciErrNoAudioDevice;
  const MixerCalls& mix = audio_.Mix();
  SDL_RWops* rw = SDL_RWFromConstMem(plain.bytes.data(), static_cast<int>(plain.bytes.size()));
  if (rw == nullptr) {
    error_ = SDL_GetError();
    return kMciErrFileNotPlayable;
  }
  audio_.SynthSaid();  // what it said before is not about this piece
  MusicPtr music(mix.LoadMUSType_RW(rw, MUS_MID, SDL_TRUE), {&mix});  // the mixer closes `rw`
  if (!music) {
    error_ = SDL_GetError();
    if (const std::string said = audio_.SynthSaid(); !said.empty())
      error_ += " (the synthesiser: " + said + ")";
    return kMciErrFileNotPlayable;
  }
  lengthMs = static_cast<int64_t>(std::ceil(plain.info.seconds * 1000.0));
  stream = std::make_unique<SdlMusicStream>(*this, mix, std::move(music), std::move(plain.bytes));
  return kMciSuccess;
}

// Waves on the reserved mixer channel, one at a time.
class SdlWaveDevice final : public WaveDevice {
 public:
  SdlWaveDevice(SdlAudio& audio, std::string& error) : audio_(audio), error_(error) {}
  ~SdlWaveDevice() override { Stop(); }

  int32_t Play(const std::string& path, bool loop) override {
    std::vector<uint8_t> bytes;
    if (const int32_t status = ReadSoundFile(path, kMaxWaveBytes, bytes, error_);
        status != kMciSuccess)
      return status;
    if (!audio_.Ensure()) return kMciErrNoAudioDevice;
    Stop();
    const MixerCalls& mix = audio_.Mix();
    // The mixer decodes the bytes read into a chunk of its own.
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    ChunkPtr chunk(mix.LoadWAV_RW(rw, 1), {&mix});
    if (!chunk) {
      error_ = SDL_GetError();
      return kMciErrFileNotPlayable;
    }
    if (mix.PlayChannelTimed(SdlMedia::kWaveChannel, chunk.get(), loop ? -1 : 0, -1) == -1) {
      error_ = SDL_GetError();
      return kMciErrDeviceFailed;
    }
    chunk_ = std::move(chunk);
    return kMciSuccess;
  }

  void Stop() override {
    if (!audio_.IsOpen()) return;  // nothing can play, and a stop must not open the output
    audio_.Mix().HaltChannel(SdlMedia::kWaveChannel);
    chunk_.reset();
  }

  bool Playing() override {
    return audio_.IsOpen() && audio_.Mix().Playing(SdlMedia::kWaveChannel) != 0;
  }

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
  Impl(std::string mixerLibrary, Notice notice)
      : audio(error, std::move(mixerLibrary), std::move(notice)) {}
  std::string error;
  SdlAudio audio;
  SdlMusicDevice music{audio, error};
  SdlWaveDevice waves{audio, error};
  MciService service{music, waves};
};

SdlMedia::SdlMedia(std::string mixerLibrary, Notice notice)
    : impl_(std::make_unique<Impl>(std::move(mixerLibrary), std::move(notice))) {}
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
