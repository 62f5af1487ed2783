#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/Media.h"

namespace ombrevale {

// The music channel (the device opened under the alias m1, driven by text commands) and the
// wave channel, with their state.
class SoundAPI {
 public:
  explicit SoundAPI(Media& media) : media_(media) {}

  // Stops any wave and clears the wave state.
  void StopWave();
  // Stops and closes the music channel and clears the music flags, whatever the channel's state.
  void StopMusic();
  // Slot 0: while the channel is open, asks for its mode; a finished piece is played again from
  // the start when it loops, else the channel is stopped and closed.
  void PollMusic();
  // StopMusic, then StopWave.
  void StopAllSound();

  // Starts a music file on the channel, once or looping; returns the status of the first
  // command that failed, or 0. Only a piece that really started marks the channel as playing.
  int32_t PlayMusic(const std::string& path, bool loop);
  // Starts a wave file; true when it plays.
  bool PlayWave(const std::string& path);

  int32_t MciResult = 0;                // status of the last music command
  std::array<char, 256> MusicStatus{};  // reply buffer of the mode query: 255 characters + NUL
  uint8_t MusicLoop = 0;                // 1: loop the piece; anything else: close at its end
  uint8_t MusicPlaying = 0;             // nonzero while the channel is open and in use
  std::string WaveName;                 // the wave playing, if any
  uint8_t WavePlaying = 0;              // nonzero while a wave was started and not stopped

 private:
  Media& media_;
};

}  // namespace ombrevale
