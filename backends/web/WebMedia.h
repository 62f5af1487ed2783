#pragma once

// The page's sound: the text-command service over the page's MIDI device (PageMusic.h), and waves
// played through the browser's Web Audio.

#include <memory>

#include "backends/web/PageMusic.h"
#include "platform/Media.h"
#include "platform/mci/Mci.h"

namespace ombrevale {

// Waves fetched beside the page and played by Web Audio, one at a time. A browser lets a page
// sound only after the visitor has touched it; until then a wave is accepted and stays silent.
class WebAudioWaves final : public WaveDevice {
 public:
  int32_t Play(const std::string& path, bool loop) override;
  void Stop() override;
  bool Playing() override;
  void WaitEnd() override;
};

// The page's Media: MciService over those two.
class WebMedia final : public Media {
 public:
  WebMedia();
  int32_t mciSendStringA(std::string_view command, char* reply, uint32_t replyCapacity,
                         uintptr_t callback) override {
    return service_.mciSendStringA(command, reply, replyCapacity, callback);
  }
  bool sndPlaySoundA(std::string_view name, uint32_t flags) override {
    return service_.sndPlaySoundA(name, flags);
  }

 private:
  PageMusicDevice music_;
  WebAudioWaves waves_;
  MciService service_;
};

}  // namespace ombrevale
