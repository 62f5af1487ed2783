#pragma once

// The page's MIDI device: Standard MIDI files fetched beside the page and played by the page's
// synthesiser (music.js, FluidSynth on the audio thread with the General MIDI soundfont the desktop
// uses), which is made, and its soundfont fetched, when the first piece is opened. A piece's length
// is the desktop's, from the same SMF reader.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/mci/Mci.h"

namespace ombrevale {

class PageMusicDevice final : public MusicDevice {
 public:
  // The file is fetched and read first, so a missing or broken one never wakes the synthesiser:
  // kMciErrFileMissing, kMciErrFileNotPlayable. Then the synthesiser must be ready: when its
  // soundfont cannot be fetched or read, or the browser has no Web Audio, kMciErrNoAudioDevice (the
  // page warns once in its console). Waits, between the browser's events, for what is fetched.
  int32_t Open(const std::string& path, std::unique_ptr<MusicStream>& stream,
               int64_t& lengthMs) override;
};

}  // namespace ombrevale
