#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Media.h"

namespace ombrevale {

// Statuses of the text-command service. 0 is success; the others are our own numbers, distinct and
// above 255 so that none looks like a count.
inline constexpr int32_t kMciSuccess = 0;
inline constexpr int32_t kMciErrUnknownCommand = 301;     // the first word names no command
inline constexpr int32_t kMciErrBadParameter = 302;       // empty, malformed or unsupported words
inline constexpr int32_t kMciErrAliasNotOpen = 303;       // no piece is open under that alias
inline constexpr int32_t kMciErrAliasAlreadyOpen = 304;   // open under an alias that is in use
inline constexpr int32_t kMciErrFileMissing = 305;        // no such file
inline constexpr int32_t kMciErrFileNotPlayable = 306;    // the file is not a piece we can play
inline constexpr int32_t kMciErrNoAudioDevice = 307;      // the sound output cannot be opened
inline constexpr int32_t kMciErrUnknownDeviceType = 308;  // open with a type other than sequencer
inline constexpr int32_t kMciErrTooManyOpen = 309;        // the limit of open aliases is reached
inline constexpr int32_t kMciErrDeviceFailed = 310;       // the sound output refused to start
inline constexpr int32_t kMciErrWaveBusy = 311;           // SND_NOSTOP while a wave plays

// A short English text for a status ("alias not open"); "unknown status" for other numbers.
std::string_view MciStatusText(int32_t status);

// Writes `reply` and a NUL at the start of `buffer`, cut to `capacity` - 1 characters; the rest of
// the buffer keeps what it held. Nothing is written when `buffer` is null or `capacity` is 0.
void WriteMciReply(std::string_view reply, char* buffer, uint32_t capacity);

// Limits that keep a hostile command cheap.
inline constexpr size_t kMciMaxCommandLength = 4200;  // a 4096-byte path and the words around it
inline constexpr size_t kMciMaxAliasLength = 64;
inline constexpr size_t kMciMaxOpenAliases = 16;

// One command of the vocabulary, as the parser understands it.
enum class MciVerb : uint8_t {
  Open,           // open "PATH" type sequencer alias NAME
  Play,           // play NAME: from where the piece stands
  PlayFromStart,  // play NAME from 0
  Stop,           // stop NAME
  Close,          // close NAME
  Pause,          // pause NAME
  Resume,         // resume NAME
  SeekToStart,    // seek NAME to 0 (or "to start")
  StatusMode,     // status NAME mode
};

struct MciCommand {
  MciVerb verb = MciVerb::Play;
  std::string alias;  // lower case: aliases are matched without regard to case
  std::string path;   // Open only
};

// Parses a command text. Words are separated by blanks and tabs; a word in double quotes may hold
// blanks (the quotes are not part of it). Keywords and aliases are case-insensitive; the "type"
// and "alias" clauses of open may come in either order, and the type may be left out (a sequencer
// is the only device there is). Returns 0 and fills `out`, or kMciErrUnknownCommand /
// kMciErrBadParameter / kMciErrUnknownDeviceType. Control characters (an embedded NUL among them),
// an unterminated quote or a text longer than kMciMaxCommandLength make a bad parameter.
int32_t ParseMciCommand(std::string_view text, MciCommand& out);

// What a music piece is doing, as the mode query names it.
enum class MciMode : uint8_t { Stopped, Playing, Paused };
std::string_view MciModeText(MciMode mode);  // "stopped", "playing", "paused"

// One loaded piece on the sound output. Only one piece sounds at a time on the output: starting one
// cuts any other.
class MusicStream {
 public:
  virtual ~MusicStream() = default;  // silences the piece if it sounds, and frees it
  // Plays the piece from its beginning. False when the output refused.
  virtual bool Start() = 0;
  // Holds the piece where it is; Resume continues from there.
  virtual void Pause() = 0;
  // Continues a held piece. False when it cannot (another piece took the output meanwhile).
  virtual bool Resume() = 0;
  // Silences the piece; its position is lost.
  virtual void Halt() = 0;
  // True while the output still carries this piece (started or held, not halted, not cut).
  virtual bool Sounding() = 0;
};

// The music side of the sound output.
class MusicDevice {
 public:
  virtual ~MusicDevice() = default;
  // Loads a sequencer file. On success returns 0 and sets `stream` and `lengthMs`, the time of the
  // piece's last event (-1 when unknown: the piece then ends when it stops sounding). Else
  // kMciErrFileMissing, kMciErrFileNotPlayable or kMciErrNoAudioDevice.
  virtual int32_t Open(const std::string& path, std::unique_ptr<MusicStream>& stream,
                       int64_t& lengthMs) = 0;
};

// The wave side of the sound output: one wave at a time.
class WaveDevice {
 public:
  virtual ~WaveDevice() = default;
  // Plays a wave file, cutting the one that plays; `loop` repeats it until stopped. Returns 0, or
  // kMciErrFileMissing, kMciErrFileNotPlayable, kMciErrNoAudioDevice, kMciErrDeviceFailed.
  virtual int32_t Play(const std::string& path, bool loop) = 0;
  virtual void Stop() = 0;
  virtual bool Playing() = 0;
  // Returns when the wave that plays has ended (at once when none plays).
  virtual void WaitEnd() = 0;
};

// Milliseconds on a clock that never goes back (std::chrono::steady_clock).
uint64_t SteadyMilliseconds();

// The text-command service and the wave player over a music and a wave device.
//
// A piece's mode is kept here, on a monotonic clock, and not taken from the output: a synthesiser
// rings on for seconds after the last note, but the piece is "stopped" as soon as its last event
// has played. The time a piece was paused or stopped does not count.
//
// What each command does to an open piece:
// - "play": a stopped or paused piece continues from where it stands; a piece at its end stays
//   stopped; a playing one plays on.
// - "play ... from 0": the piece starts again from its beginning, whatever it was doing.
// - "stop": the piece stops and keeps its position (the output holds it), so the next "play"
//   continues from there. "stop" at the end of a piece silences what still rings.
// - "pause" / "resume": hold a playing piece and continue it; "pause" of a piece that is not
//   playing and "resume" of one that is not paused change nothing.
// - "seek ... to 0": the piece stops at its start; the next "play" begins there.
// - "close": silences and frees the piece; its alias is free again.
// - "status ... mode": replies "playing", "paused" or "stopped".
// Commands on an alias that is not open answer kMciErrAliasNotOpen. The output is opened by the
// devices when the first piece or wave needs it, so "open" and the wave call are the ones that can
// answer kMciErrNoAudioDevice. The callback argument is accepted and ignored (no notifications).
class MciService final : public Media {
 public:
  MciService(MusicDevice& music, WaveDevice& waves,
             std::function<uint64_t()> nowMs = SteadyMilliseconds);
  ~MciService() override;

  int32_t mciSendStringA(std::string_view command, char* reply, uint32_t replyCapacity,
                         uintptr_t callback) override;
  // An empty name stops any wave. A wave replaces the one that plays, unless SND_NOSTOP is given
  // and one plays (then false, kMciErrWaveBusy). Without SND_ASYNC the call returns when the wave
  // has ended; SND_LOOP needs SND_ASYNC. No default sound is ever played, so SND_NODEFAULT changes
  // nothing.
  bool sndPlaySoundA(std::string_view name, uint32_t flags) override;

  // The status of the last wave call (0, or why it returned false).
  int32_t LastWaveStatus() const { return lastWaveStatus_; }
  size_t OpenAliases() const { return channels_.size(); }

 private:
  struct Channel {
    std::unique_ptr<MusicStream> stream;
    int64_t lengthMs = -1;
    MciMode mode = MciMode::Stopped;
    uint64_t playedMs = 0;  // time played before `since`
    uint64_t since = 0;     // clock reading when the piece last started playing
    bool atEnd = false;     // the piece has played to its end
    bool held = false;      // the output holds the piece's position (Resume can continue it)
    uint32_t deviceId = 0;  // its number, as "open" answers it: 1 for the first piece opened
  };

  int32_t Run(const MciCommand& command, char* reply, uint32_t replyCapacity);
  int32_t Open(const MciCommand& command);
  void Refresh(Channel& channel);
  int32_t StartFromBeginning(Channel& channel);
  // "play": on from where the piece stands.
  int32_t Play(Channel& channel);
  // Continues a held piece, or starts it again when the output lost its place.
  int32_t Continue(Channel& channel);
  // "stop": holds a playing piece where it stands; silences what rings on after its end.
  void Stop(Channel& channel);
  void Hold(Channel& channel, MciMode mode);

  MusicDevice& music_;
  WaveDevice& waves_;
  std::function<uint64_t()> nowMs_;
  std::map<std::string, Channel> channels_;
  int32_t lastWaveStatus_ = kMciSuccess;
  uint32_t nextDeviceId_ = 1;
};

}  // namespace ombrevale
