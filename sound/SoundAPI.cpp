#include "sound/SoundAPI.h"

#include <string_view>

namespace ombrevale {

namespace {
constexpr uint32_t kModeReplyCapacity = 255;
}  // namespace

void SoundAPI::StopWave() {
  media_.sndPlaySoundA("", SND_ASYNC | SND_NODEFAULT);  // the result is not kept
  WaveName.clear();
  WavePlaying = 0;
}

void SoundAPI::StopMusic() {
  // Sent whatever the channel's state; MciResult ends up holding the status of the close.
  MciResult = media_.mciSendStringA("stop m1", nullptr, 0, 0);
  MciResult = media_.mciSendStringA("close m1", nullptr, 0, 0);
  MusicLoop = 0;
  MusicPlaying = 0;
}

void SoundAPI::PollMusic() {
  if (MusicPlaying == 0) return;
  // The buffer is not cleared: the device writes its reply at the start and the characters behind
  // it keep what they held. The comparison is made whatever the status says.
  MciResult = media_.mciSendStringA("status m1 mode", MusicStatus.data(), kModeReplyCapacity, 0);
  if (std::string_view(MusicStatus.data(), 7) != "stopped") return;
  if (MusicLoop == 1) {
    MciResult = media_.mciSendStringA("play m1 from 0", nullptr, 0, 0);  // MusicPlaying stays
  } else {
    StopMusic();
  }
}

void SoundAPI::StopAllSound() {
  StopMusic();
  StopWave();
}

int32_t SoundAPI::PlayMusic(const std::string& path, bool loop) {
  if (MusicPlaying != 0) StopMusic();  // a new piece replaces the one on the channel
  MciResult = media_.mciSendStringA("open \"" + path + "\" type sequencer alias m1", nullptr, 0, 0);
  if (MciResult != 0) return MciResult;
  MciResult = media_.mciSendStringA("play m1", nullptr, 0, 0);
  if (MciResult != 0) {
    // Leave no channel open that nothing would poll or close; MciResult keeps the play's status.
    media_.mciSendStringA("close m1", nullptr, 0, 0);
    return MciResult;
  }
  MusicLoop = loop ? 1 : 0;
  MusicPlaying = 1;
  return MciResult;
}

bool SoundAPI::PlayWave(const std::string& path) {
  if (path.empty()) return false;  // the empty name would mean "stop"
  if (!media_.sndPlaySoundA(path, SND_ASYNC | SND_NODEFAULT)) return false;
  WaveName = path;
  WavePlaying = 1;
  return true;
}

}  // namespace ombrevale
