#pragma once

#include <cstdint>
#include <string_view>

namespace ombrevale {

// Flags of the wave call.
inline constexpr uint32_t SND_SYNC = 0x0000;       // return when the wave has ended
inline constexpr uint32_t SND_ASYNC = 0x0001;      // return at once; the wave plays on
inline constexpr uint32_t SND_NODEFAULT = 0x0002;  // no fallback sound when the file is missing
inline constexpr uint32_t SND_LOOP = 0x0008;       // repeat until stopped (with SND_ASYNC)
inline constexpr uint32_t SND_NOSTOP = 0x0010;     // do not cut a wave that is playing

// The multimedia services: the text-command service that drives the music channel, and the
// wave player.
class Media {
 public:
  virtual ~Media() = default;
  // Sends a text command ("open \"dat/a.mid\" type sequencer alias m1", "play m1", "status m1
  // mode" ...). The reply, ended by a NUL, is written at the start of `reply` (at most
  // `replyCapacity` characters, the NUL included); the rest of the buffer keeps what it held.
  // Returns 0 for success, else one of the MCI statuses.
  virtual int32_t mciSendStringA(std::string_view command, char* reply, uint32_t replyCapacity,
                                 uintptr_t callback) = 0;
  // Plays a wave file with the SND_ flags; the empty name stops any wave. True on success.
  virtual bool sndPlaySoundA(std::string_view name, uint32_t flags) = 0;
};

}  // namespace ombrevale
