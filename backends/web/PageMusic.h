#pragma once

// The page's MIDI device: Standard MIDI files fetched beside the page and played by the page's
// synthesiser (music.js, FluidSynth on the audio thread with the General MIDI soundfont the desktop
// uses), which is made, and its soundfont fetched, when the first piece is opened. The synthesiser
// plays the plain file the desktop's SMF reader writes of a piece and seeks by the tempo map it
// read, so that a piece sounds, and lasts, as on the desktop.
//
// The synthesiser lives on the page's own thread, the program in a worker of the page: what the
// interpreter asks at once (which piece has the output, whether it still sounds) the device knows
// itself, and it tells the page to start, pause, resume, halt and free a piece without waiting for
// an answer. The page tells it, between passes, when the piece it started last has played and rung
// out.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/mci/Mci.h"
#include "platform/midi/PlainSmf.h"

namespace ombrevale {

class PageMusicDevice final : public MusicDevice {
 public:
  PageMusicDevice();
  ~PageMusicDevice() override;
  PageMusicDevice(const PageMusicDevice&) = delete;
  PageMusicDevice& operator=(const PageMusicDevice&) = delete;

  // The file is fetched and read first, so a missing or broken one never wakes the synthesiser:
  // kMciErrFileMissing, kMciErrFileNotPlayable. Then the synthesiser must be ready: when its
  // soundfont cannot be fetched or read, or the browser has no Web Audio, kMciErrNoAudioDevice (the
  // page warns once in its console). Waits, between the browser's events, for what is fetched.
  int32_t Open(const std::string& path, std::unique_ptr<MusicStream>& stream,
               int64_t& lengthMs) override;

  // The output, as the device's pieces see it: one piece at a time, started under a number of the
  // device's own that the page says back when that start has rung out.
  void Start(int piece);
  bool Owns(int piece) const { return owner_ == piece; }
  bool Sounding(int piece) const { return owner_ == piece && !ended_; }
  void Release(int piece);
  // The page's word that the start numbered `start` has played and rung out; an older start's
  // word, crossing a newer start on its way, changes nothing.
  void Ended(uint32_t start);

 private:
  // Hands the page the piece as its synthesiser plays it.
  static void Keep(int piece, int64_t lengthMs, const PlainSmf& plain);

  int owner_ = 0;  // the piece on the output, 0 for none
  uint32_t start_ = 0;
  bool ended_ = false;
};

}  // namespace ombrevale
