#include "platform/mci/Mci.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <utility>

#include "platform/unicode/CaseFold.h"

namespace ombrevale {

std::string_view MciStatusText(int32_t status) {
  switch (status) {
    case kMciSuccess:
      return "success";
    case kMciErrUnknownCommand:
      return "unknown command";
    case kMciErrBadParameter:
      return "bad parameter";
    case kMciErrAliasNotOpen:
      return "alias not open";
    case kMciErrAliasAlreadyOpen:
      return "alias already open";
    case kMciErrFileMissing:
      return "file missing";
    case kMciErrFileNotPlayable:
      return "file cannot be played";
    case kMciErrNoAudioDevice:
      return "no audio device";
    case kMciErrUnknownDeviceType:
      return "unknown device type";
    case kMciErrTooManyOpen:
      return "too many open aliases";
    case kMciErrDeviceFailed:
      return "the sound output failed";
    case kMciErrWaveBusy:
      return "a wave is playing";
    default:
      return "unknown status";
  }
}

void WriteMciReply(std::string_view reply, char* buffer, uint32_t capacity) {
  if (buffer == nullptr || capacity == 0) return;
  const size_t n = std::min<size_t>(reply.size(), capacity - 1);
  if (n > 0) std::memcpy(buffer, reply.data(), n);
  buffer[n] = '\0';
}

std::string_view MciModeText(MciMode mode) {
  switch (mode) {
    case MciMode::Playing:
      return "playing";
    case MciMode::Paused:
      return "paused";
    case MciMode::Stopped:
      break;
  }
  return "stopped";
}

uint64_t SteadyMilliseconds() {
  using namespace std::chrono;
  return static_cast<uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

namespace {

// No command of the vocabulary has more words than open with both clauses (six).
constexpr size_t kMaxWords = 8;

struct Words {
  std::array<std::string_view, kMaxWords> word{};
  size_t count = 0;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Cuts the text into words; a quoted word runs to the next quote and must be followed by a blank
// or the end. False for control characters, stray or unterminated quotes and too many words.
bool SplitWords(std::string_view text, Words& out) {
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if ((u < 0x20 && c != '\t') || u == 0x7F) return false;
  }
  size_t i = 0;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) return true;
    if (out.count == kMaxWords) return false;
    std::string_view word;
    if (text[i] == '"') {
      const size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) return false;
      word = text.substr(i + 1, close - i - 1);
      i = close + 1;
      if (i < text.size() && !IsBlank(text[i])) return false;
    } else {
      const size_t start = i;
      while (i < text.size() && !IsBlank(text[i])) {
        if (text[i] == '"') return false;
        ++i;
      }
      word = text.substr(start, i - start);
    }
    out.word[out.count++] = word;
  }
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Is(std::string_view word, std::string_view keyword) {
  if (word.size() != keyword.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (Lower(word[i]) != keyword[i]) return false;
  }
  return true;
}

// An alias is 1 to kMciMaxAliasLength letters, digits, '_' or '-'; kept in lower case.
bool TakeAlias(std::string_view word, std::string& alias) {
  if (word.empty() || word.size() > kMciMaxAliasLength) return false;
  alias.clear();
  for (char c : word) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '_' || c == '-';
    if (!ok) return false;
    alias.push_back(Lower(c));
  }
  return true;
}

// "0", "00", ...: the only position the sequencer can be set to is its start.
bool IsZero(std::string_view word) {
  if (word.empty()) return false;
  for (char c : word) {
    if (c != '0') return false;
  }
  return true;
}

int32_t ParseOpen(const Words& w, MciCommand& out) {
  if (w.count < 2 || w.word[1].empty()) return kMciErrBadParameter;
  out.path.assign(w.word[1]);
  bool haveType = false;
  bool haveAlias = false;
  size_t i = 2;
  while (i < w.count) {
    if (i + 1 >= w.count) return kMciErrBadParameter;
    const std::string_view key = w.word[i];
    const std::string_view value = w.word[i + 1];
    if (Is(key, "type") && !haveType) {
      if (!Is(value, "sequencer")) return kMciErrUnknownDeviceType;
      haveType = true;
    } else if (Is(key, "alias") && !haveAlias) {
      if (!TakeAlias(value, out.alias)) return kMciErrBadParameter;
      haveAlias = true;
    } else {
      return kMciErrBadParameter;
    }
    i += 2;
  }
  if (!haveAlias) return kMciErrBadParameter;
  out.verb = MciVerb::Open;
  return kMciSuccess;
}

}  // namespace

namespace {

// The words after a command's verb and alias: "from 0" for play, "to 0" or "to start" for seek,
// "mode" for status, nothing for the others.
int32_t ParseRest(const Words& w, MciCommand& out) {
  switch (out.verb) {
    case MciVerb::Play:
      if (w.count == 2) return kMciSuccess;
      if (w.count == 4 && Is(w.word[2], "from") && IsZero(w.word[3])) {
        out.verb = MciVerb::PlayFromStart;
        return kMciSuccess;
      }
      return kMciErrBadParameter;
    case MciVerb::SeekToStart:
      if (w.count == 4 && Is(w.word[2], "to") && (IsZero(w.word[3]) || Is(w.word[3], "start"))) {
        return kMciSuccess;
      }
      return kMciErrBadParameter;
    case MciVerb::StatusMode:
      return (w.count == 3 && Is(w.word[2], "mode")) ? kMciSuccess : kMciErrBadParameter;
    default:
      return w.count == 2 ? kMciSuccess : kMciErrBadParameter;
  }
}

}  // namespace

int32_t ParseMciCommand(std::string_view text, MciCommand& out) {
  if (text.size() > kMciMaxCommandLength) return kMciErrBadParameter;
  Words w;
  if (!SplitWords(text, w) || w.count == 0) return kMciErrBadParameter;
  out = MciCommand{};
  const std::string_view verb = w.word[0];
  if (Is(verb, "open")) return ParseOpen(w, out);

  struct Form {
    std::string_view verb;
    MciVerb plain;
  };
  static constexpr std::array<Form, 7> forms{{{"play", MciVerb::Play},
                                              {"stop", MciVerb::Stop},
                                              {"close", MciVerb::Close},
                                              {"pause", MciVerb::Pause},
                                              {"resume", MciVerb::Resume},
                                              {"seek", MciVerb::SeekToStart},
                                              {"status", MciVerb::StatusMode}}};
  const Form* form = nullptr;
  for (const Form& f : forms) {
    if (Is(verb, f.verb)) form = &f;
  }
  if (form == nullptr) return kMciErrUnknownCommand;
  if (w.count < 2 || !TakeAlias(w.word[1], out.alias)) return kMciErrBadParameter;
  out.verb = form->plain;
  return ParseRest(w, out);
}

MciService::MciService(MusicDevice& music, WaveDevice& waves, std::function<uint64_t()> nowMs)
    : music_(music), waves_(waves), nowMs_(std::move(nowMs)) {}

MciService::~MciService() = default;

int32_t MciService::mciSendStringA(std::string_view command, char* reply, uint32_t replyCapacity,
                                   uintptr_t /*callback*/) {
  MciCommand parsed;
  const int32_t status = ParseMciCommand(command, parsed);
  if (status != kMciSuccess) return status;
  const int32_t result = Run(parsed, reply, replyCapacity);
  // As the platform's own service does: a command that succeeds and has nothing to tell answers
  // with the empty text, and "open" with the number of the device it opened.
  if (result == kMciSuccess && parsed.verb != MciVerb::StatusMode) {
    const auto opened = channels_.find(parsed.alias);
    const bool isOpen = parsed.verb == MciVerb::Open && opened != channels_.end();
    WriteMciReply(isOpen ? std::to_string(opened->second.deviceId) : "", reply, replyCapacity);
  }
  return result;
}

int32_t MciService::Run(const MciCommand& command, char* reply, uint32_t replyCapacity) {
  if (command.verb == MciVerb::Open) return Open(command);
  const auto found = channels_.find(command.alias);
  if (found == channels_.end()) return kMciErrAliasNotOpen;
  Channel& ch = found->second;
  Refresh(ch);
  switch (command.verb) {
    case MciVerb::Play:
      return Play(ch);
    case MciVerb::PlayFromStart:
      return StartFromBeginning(ch);
    case MciVerb::Stop:
      Stop(ch);
      return kMciSuccess;
    case MciVerb::Pause:
      if (ch.mode == MciMode::Playing) Hold(ch, MciMode::Paused);
      return kMciSuccess;
    case MciVerb::Resume:
      return ch.mode == MciMode::Paused ? Continue(ch) : kMciSuccess;
    case MciVerb::SeekToStart:
      ch.stream->Halt();
      ch.held = false;
      ch.atEnd = false;
      ch.playedMs = 0;
      ch.mode = MciMode::Stopped;
      return kMciSuccess;
    case MciVerb::Close:
      channels_.erase(found);  // the stream's destructor silences and frees it
      return kMciSuccess;
    case MciVerb::StatusMode:
      WriteMciReply(MciModeText(ch.mode), reply, replyCapacity);
      return kMciSuccess;
    case MciVerb::Open:
      break;
  }
  return kMciErrUnknownCommand;
}

int32_t MciService::Play(Channel& ch) {
  if (ch.mode == MciMode::Playing || ch.atEnd) return kMciSuccess;
  // Held where it stood; else never started, set back to its start, or its position was lost
  // with the output.
  return ch.held ? Continue(ch) : StartFromBeginning(ch);
}

int32_t MciService::Continue(Channel& ch) {
  if (ch.stream->Resume()) {
    ch.mode = MciMode::Playing;
    ch.since = nowMs_();
    return kMciSuccess;
  }
  return StartFromBeginning(ch);  // another piece took the output meanwhile
}

void MciService::Stop(Channel& ch) {
  if (ch.mode == MciMode::Playing) {
    Hold(ch, MciMode::Stopped);
  } else if (ch.mode == MciMode::Paused) {
    ch.mode = MciMode::Stopped;  // the output holds it already
  } else if (ch.atEnd && ch.held) {
    ch.stream->Halt();  // what still rings after the last event
    ch.held = false;
  }
}

int32_t MciService::Open(const MciCommand& command) {
  if (channels_.count(command.alias) != 0) return kMciErrAliasAlreadyOpen;
  if (channels_.size() >= kMciMaxOpenAliases) return kMciErrTooManyOpen;
  Channel ch;
  const int32_t status = music_.Open(command.path, ch.stream, ch.lengthMs);
  if (status != kMciSuccess) return status;
  if (!ch.stream) return kMciErrDeviceFailed;
  ch.deviceId = nextDeviceId_++;
  channels_.emplace(command.alias, std::move(ch));
  return kMciSuccess;
}

// Brings a playing piece's mode up to date: it has ended when its play time reached its length,
// or when the output no longer carries it.
void MciService::Refresh(Channel& ch) {
  if (ch.mode != MciMode::Playing) return;
  const uint64_t now = nowMs_();
  const uint64_t played = ch.playedMs + (now >= ch.since ? now - ch.since : 0);
  const bool timeUp = ch.lengthMs >= 0 && played >= static_cast<uint64_t>(ch.lengthMs);
  if (timeUp || !ch.stream->Sounding()) {
    ch.mode = MciMode::Stopped;
    ch.atEnd = true;
    ch.playedMs = ch.lengthMs >= 0 ? static_cast<uint64_t>(ch.lengthMs) : played;
    ch.held = ch.held && ch.stream->Sounding();
  }
}

int32_t MciService::StartFromBeginning(Channel& ch) {
  ch.playedMs = 0;
  ch.atEnd = false;
  if (!ch.stream->Start()) {
    ch.held = false;
    ch.mode = MciMode::Stopped;
    return kMciErrDeviceFailed;
  }
  ch.held = true;
  ch.mode = MciMode::Playing;
  ch.since = nowMs_();
  return kMciSuccess;
}

// Stop and pause both hold a playing piece in the output, which keeps its position.
void MciService::Hold(Channel& ch, MciMode mode) {
  const uint64_t now = nowMs_();
  ch.stream->Pause();
  ch.playedMs += now >= ch.since ? now - ch.since : 0;
  ch.mode = mode;
}

bool MciService::sndPlaySoundA(std::string_view name, uint32_t flags) {
  if (name.empty()) {
    waves_.Stop();
    lastWaveStatus_ = kMciSuccess;
    return true;
  }
  const bool async = (flags & SND_ASYNC) != 0;
  const bool loop = (flags & SND_LOOP) != 0;
  if (loop && !async) {
    lastWaveStatus_ = kMciErrBadParameter;  // it would never return
    return false;
  }
  if (name.find('\0') != std::string_view::npos || name.size() > kMciMaxCommandLength) {
    lastWaveStatus_ = kMciErrBadParameter;
    return false;
  }
  if ((flags & SND_NOSTOP) != 0 && waves_.Playing()) {
    lastWaveStatus_ = kMciErrWaveBusy;
    return false;
  }
  lastWaveStatus_ = waves_.Play(std::string(name), loop);
  if (lastWaveStatus_ != kMciSuccess) return false;
  if (!async) waves_.WaitEnd();
  return true;
}

}  // namespace ombrevale
