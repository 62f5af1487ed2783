#include "backends/headless/RecordingMedia.h"

#include "platform/mci/Mci.h"

namespace ombrevale {

void RecordingMedia::Script(const std::string& command, int32_t status,
                            std::optional<std::string> reply) {
  script_[command].push_back({status, std::move(reply)});
}

std::vector<std::string> RecordingMedia::Log() const {
  std::vector<std::string> log;
  log.reserve(calls_.size());
  for (const Call& c : calls_) {
    if (c.wave) {
      log.push_back("sndPlaySoundA(\"" + c.text + "\", " + std::to_string(c.flags) + ")");
    } else {
      log.push_back(c.text);
    }
  }
  return log;
}

int32_t RecordingMedia::mciSendStringA(std::string_view command, char* reply,
                                       uint32_t replyCapacity, uintptr_t callback) {
  calls_.push_back({false, std::string(command), reply != nullptr, replyCapacity, callback, 0});
  const auto found = script_.find(command);
  if (found == script_.end() || found->second.empty()) return 0;
  std::deque<Answer>& queue = found->second;
  const Answer answer = queue.front();
  if (queue.size() > 1) queue.pop_front();
  if (answer.reply) WriteMciReply(*answer.reply, reply, replyCapacity);
  return answer.status;
}

bool RecordingMedia::sndPlaySoundA(std::string_view name, uint32_t flags) {
  calls_.push_back({true, std::string(name), false, 0, 0, flags});
  return waveResult;
}

}  // namespace ombrevale
