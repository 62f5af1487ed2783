#pragma once

// The desktop's sound on Windows: the system's own text-command service and wave player (winmm).
// Every call goes to the system as it is; what it answers is what the sound channels store.

#include "platform/Media.h"

namespace ombrevale {

class WinMedia final : public Media {
 public:
  ~WinMedia() override;
  int32_t mciSendStringA(std::string_view command, char* reply, uint32_t replyCapacity,
                         uintptr_t callback) override;
  bool sndPlaySoundA(std::string_view name, uint32_t flags) override;
};

}  // namespace ombrevale
