#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Media.h"

namespace ombrevale {

// A media service for tests: records every command and wave call in order and answers from a
// script. A command without a script answers 0 and writes no reply.
class RecordingMedia final : public Media {
 public:
  struct Call {
    bool wave = false;        // a wave call; else a command
    std::string text;         // the command text, or the wave's name
    bool replyGiven = false;  // a command came with a reply buffer
    uint32_t capacity = 0;    // the command's reply capacity
    uintptr_t callback = 0;   // the command's callback value
    uint32_t flags = 0;       // the wave call's flags
  };
  // Queues an answer for a command text: its status, and the reply written like a device writes it
  // (none: the buffer is left alone). Answers are used in order; the last one queued stays and
  // answers every later sending of the command.
  void Script(const std::string& command, int32_t status,
              std::optional<std::string> reply = std::nullopt);
  // The result of every wave call.
  bool waveResult = true;

  const std::vector<Call>& Calls() const { return calls_; }
  // The calls as short texts: a command as its text, a wave call as `sndPlaySoundA("NAME", FLAGS)`.
  std::vector<std::string> Log() const;
  void Clear() { calls_.clear(); }

  int32_t mciSendStringA(std::string_view command, char* reply, uint32_t replyCapacity,
                         uintptr_t callback) override;
  bool sndPlaySoundA(std::string_view name, uint32_t flags) override;

 private:
  struct Answer {
    int32_t status = 0;
    std::optional<std::string> reply;
  };

  std::vector<Call> calls_;
  std::map<std::string, std::deque<Answer>, std::less<>> script_;
};

}  // namespace ombrevale
