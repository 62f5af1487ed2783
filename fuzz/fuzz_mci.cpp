// Feeds the text-command service sequences of arbitrary commands, over a fake clock and a fake
// sound output, so that its parser and the state of its pieces are exercised together. The sound
// channels drive the same service through their own commands in between.
//
// The input is cut into lines; each line is one step:
//   ~N           the clock moves on N milliseconds (up to 7 digits; none: 1 ms)
//   .            the output falls silent: it no longer carries the piece it played
//   !FLAGS NAME  the wave call, FLAGS in decimal (an empty NAME stops the wave)
//   @play PATH   the music channel plays PATH once; @loop PATH loops it; @wave PATH plays a wave
//                on the wave channel; @poll is one firing of the poll slot; @stop stops all sound
//   other        a command text, sent with a reply buffer of a capacity that changes each time
// The fake output decides by words in a path: "missing", "broken", "mute" and "null" fail the
// open in their ways, "refuse" fails every start; a number in the path is the piece's length in
// milliseconds (none: unknown, the piece ends when the output falls silent).
//
// Besides crashes and sanitizer reports, a fault is: a status outside the service's vocabulary,
// a reply that overruns its buffer or lacks its NUL, a mode outside "playing", "paused",
// "stopped", more open pieces than allowed, a parse that the service answers differently, an
// opening command that does not parse back to itself, a wave call that would wait forever, or a
// command that leaves its piece in another mode than the service promises (the mode is asked
// before and after each command).

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/mci/Mci.h"
#include "sound/SoundAPI.h"

namespace {

using namespace ombrevale;

[[noreturn]] void Fault(const char* what, std::string_view line) {
  std::fprintf(stderr, "fuzz_mci: %s, at the line \"%.*s\"\n", what, static_cast<int>(line.size()),
               line.data());
  std::abort();
}

bool Has(std::string_view text, std::string_view word) {
  return text.find(word) != std::string_view::npos;
}

// The one sound output: it carries at most one piece at a time.
struct FakeOutput {
  const void* carried = nullptr;
};

class FakeStream final : public MusicStream {
 public:
  FakeStream(FakeOutput& out, bool refuses) : out_(out), refuses_(refuses) {}
  ~FakeStream() override {
    if (out_.carried == this) out_.carried = nullptr;
  }
  bool Start() override {
    if (refuses_) return false;
    out_.carried = this;
    return true;
  }
  void Pause() override {}
  bool Resume() override { return out_.carried == this; }
  void Halt() override {
    if (out_.carried == this) out_.carried = nullptr;
  }
  bool Sounding() override { return out_.carried == this; }

 private:
  FakeOutput& out_;
  bool refuses_;
};

class FakeMusicDevice final : public MusicDevice {
 public:
  explicit FakeMusicDevice(FakeOutput& out) : out_(out) {}
  int32_t Open(const std::string& path, std::unique_ptr<MusicStream>& stream,
               int64_t& lengthMs) override {
    if (Has(path, "missing")) return kMciErrFileMissing;
    if (Has(path, "broken")) return kMciErrFileNotPlayable;
    if (Has(path, "mute")) return kMciErrNoAudioDevice;
    if (Has(path, "null")) return kMciSuccess;  // a device that forgot its stream
    lengthMs = -1;
    const size_t digit = path.find_first_of("0123456789");
    if (digit != std::string::npos) {
      lengthMs = 0;
      for (size_t i = digit; i < path.size() && i < digit + 9 && path[i] >= '0' && path[i] <= '9';
           ++i) {
        lengthMs = lengthMs * 10 + (path[i] - '0');
      }
    }
    stream = std::make_unique<FakeStream>(out_, Has(path, "refuse"));
    lastLengthMs = lengthMs;
    return kMciSuccess;
  }

  int64_t lastLengthMs = -1;  // the length of the piece opened last

 private:
  FakeOutput& out_;
};

class FakeWaveDevice final : public WaveDevice {
 public:
  int32_t Play(const std::string& path, bool loop) override {
    if (Has(path, "missing")) return kMciErrFileMissing;
    if (Has(path, "broken")) return kMciErrFileNotPlayable;
    if (Has(path, "mute")) return kMciErrNoAudioDevice;
    if (Has(path, "refuse")) return kMciErrDeviceFailed;
    playing_ = true;
    looping_ = loop;
    return kMciSuccess;
  }
  void Stop() override { playing_ = looping_ = false; }
  bool Playing() override { return playing_; }
  void WaitEnd() override {
    if (looping_) Fault("waiting for the end of a looping wave", "");
    playing_ = false;
  }

 private:
  bool playing_ = false;
  bool looping_ = false;
};

// The capacities the reply buffer is announced with, in turn; 0 goes with no buffer at all.
constexpr std::array<uint32_t, 6> kCapacities = {255, 0, 1, 8, 7, 256};
constexpr size_t kBufferSize = 300;
constexpr char kUntouched = '\xA5';

bool KnownStatus(int32_t status) {
  return MciStatusText(status) != "unknown status";
}

// The mode of the piece open under `alias` as the service tells it, or nothing when none is.
// Asking changes nothing: the service only brings the piece up to the same clock reading.
std::optional<std::string> Mode(MciService& service, const std::string& alias) {
  std::array<char, 16> reply{};
  if (service.mciSendStringA("status " + alias + " mode", reply.data(), reply.size(), 0) !=
      kMciSuccess) {
    return std::nullopt;
  }
  return std::string(reply.data());
}

// What each command of the vocabulary does to the mode of its piece.
struct Session {
  MciService& service;
  FakeMusicDevice& music;
  std::map<std::string, int64_t> lengths;  // of the piece opened last under each alias

  void Send(std::string_view line, size_t turn);
  void CheckModes(std::string_view line, const MciCommand& command, int32_t status,
                  const std::optional<std::string>& before,
                  const std::optional<std::string>& after);
};

void Session::Send(std::string_view line, size_t turn) {
  const uint32_t capacity = kCapacities[turn % kCapacities.size()];
  std::array<char, kBufferSize> buffer;
  buffer.fill(kUntouched);
  char* reply = capacity == 0 ? nullptr : buffer.data();

  MciCommand parsed;
  const int32_t parseStatus = ParseMciCommand(line, parsed);
  const bool valid = parseStatus == kMciSuccess;
  const std::optional<std::string> before = valid ? Mode(service, parsed.alias) : std::nullopt;
  const int32_t status = service.mciSendStringA(line, reply, capacity, turn);
  if (!KnownStatus(status)) Fault("a status outside the vocabulary", line);
  if (!valid && status != parseStatus) Fault("parse and service differ", line);

  // Nothing is written at or past the capacity; what is written ends with a NUL inside it.
  for (size_t i = capacity; i < kBufferSize; ++i) {
    if (buffer[i] != kUntouched) Fault("a reply past its capacity", line);
  }
  if (capacity > 0 && buffer[0] != kUntouched) {
    const void* nul = std::memchr(buffer.data(), '\0', capacity);
    if (nul == nullptr) Fault("a reply without its NUL", line);
    if (valid && parsed.verb == MciVerb::StatusMode && capacity >= 8 &&
        (!before || std::string_view(buffer.data()) != *before)) {
      Fault("a mode reply that differs from the mode", line);
    }
  }
  if (service.OpenAliases() > kMciMaxOpenAliases) Fault("more open pieces than allowed", line);
  if (!valid) return;

  if (parsed.verb == MciVerb::Open) {
    // An opening command written back in its plain form parses to the same command.
    MciCommand again;
    const std::string plain = "open \"" + parsed.path + "\" type sequencer alias " + parsed.alias;
    if (ParseMciCommand(plain, again) != kMciSuccess || again.path != parsed.path ||
        again.alias != parsed.alias || again.verb != MciVerb::Open) {
      Fault("an opening command that does not parse back to itself", line);
    }
    if (status == kMciSuccess) lengths[parsed.alias] = music.lastLengthMs;
  }
  CheckModes(line, parsed, status, before, Mode(service, parsed.alias));
}

void Session::CheckModes(std::string_view line, const MciCommand& command, int32_t status,
                         const std::optional<std::string>& before,
                         const std::optional<std::string>& after) {
  if (after && *after != "playing" && *after != "paused" && *after != "stopped") {
    Fault("a mode outside the vocabulary", line);
  }
  if (command.verb == MciVerb::Open) {
    if (status == kMciSuccess ? after != "stopped" : after != before) {
      Fault("an opening that left the wrong mode", line);
    }
    return;
  }
  if (!before) {
    if (status != kMciErrAliasNotOpen || after) Fault("a command on no piece did something", line);
    return;
  }
  if (status == kMciErrDeviceFailed) {
    if (after != "stopped") Fault("a piece that failed to start is not stopped", line);
    return;
  }
  if (status != kMciSuccess) Fault("a valid command on an open piece failed", line);

  // A piece of no length is over as soon as it starts.
  const auto length = lengths.find(command.alias);
  const bool instant = length != lengths.end() && length->second == 0;
  const bool started = after == "playing" || (instant && after == "stopped");
  bool right = true;
  switch (command.verb) {
    case MciVerb::Play:
      right = before == "stopped" ? after != "paused" : started;
      break;
    case MciVerb::PlayFromStart:
      right = started;
      break;
    case MciVerb::Stop:
    case MciVerb::SeekToStart:
      right = after == "stopped";
      break;
    case MciVerb::Pause:
      right = before == "playing" ? after == "paused" : after == before;
      break;
    case MciVerb::Resume:
      right = before == "paused" ? started : after == before;
      break;
    case MciVerb::Close:
      right = !after;
      break;
    case MciVerb::StatusMode:
      right = after == before;
      break;
    case MciVerb::Open:
      break;
  }
  if (!right) Fault("a command left its piece in the wrong mode", line);
}

uint64_t Milliseconds(std::string_view digits) {
  uint64_t ms = 0;
  size_t n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9' || n == 7) break;
    ms = ms * 10 + static_cast<uint64_t>(c - '0');
    ++n;
  }
  return n == 0 ? 1 : ms;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  uint64_t now = 1000;
  FakeOutput output;
  FakeMusicDevice music(output);
  FakeWaveDevice waves;
  MciService service(music, waves, [&now] { return now; });
  SoundAPI sound(service);
  Session session{service, music, {}};

  size_t turn = 0;
  size_t start = 0;
  while (start <= input.size()) {
    size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    const std::string_view line = input.substr(start, end - start);
    start = end + 1;
    ++turn;

    if (line.starts_with("~")) {
      now += Milliseconds(line.substr(1));
    } else if (line == ".") {
      output.carried = nullptr;
    } else if (line.starts_with("!")) {
      const size_t blank = line.find(' ');
      const auto flags = static_cast<uint32_t>(Milliseconds(line.substr(1)));
      const std::string_view name =
          blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
      const bool played = service.sndPlaySoundA(name, flags);
      if (played != (service.LastWaveStatus() == kMciSuccess)) Fault("a wave status", line);
      if (!KnownStatus(service.LastWaveStatus())) Fault("a wave status outside", line);
    } else if (line.starts_with("@play ") || line.starts_with("@loop ")) {
      const int32_t status = sound.PlayMusic(std::string(line.substr(6)), line[1] == 'l');
      if (!KnownStatus(status)) Fault("a status outside the vocabulary", line);
      if (status == kMciSuccess) session.lengths["m1"] = music.lastLengthMs;
    } else if (line.starts_with("@wave ")) {
      const std::string name(line.substr(6));
      const bool playing = sound.PlayWave(name);
      if (playing && (sound.WavePlaying != 1 || sound.WaveName != name || name.empty())) {
        Fault("the wave channel's state differs from its answer", line);
      }
    } else if (line == "@poll") {
      sound.PollMusic();
      if (sound.MusicStatus.back() != '\0') Fault("the mode buffer lost its last NUL", line);
    } else if (line == "@stop") {
      sound.StopAllSound();
      if (sound.MusicPlaying != 0) Fault("music still flagged after the stop", line);
    } else {
      session.Send(line, turn);
    }
  }
  return 0;
}
