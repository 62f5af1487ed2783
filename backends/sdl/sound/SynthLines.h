#pragma once
// What the synthesiser says. FluidSynth, which the mixer brings, prints its errors and warnings on
// stderr in its own words, without the program's "ombrevale: " before them; they are taken here
// instead, the last one kept for the program's own account of a piece the synthesiser refused.

#include <mutex>
#include <string>

#include "backends/sdl/sound/MixerLibrary.h"

namespace ombrevale {

class SynthLines {
 public:
  SynthLines() = default;
  // From then on the synthesiser's lines go nowhere.
  ~SynthLines();
  SynthLines(const SynthLines&) = delete;
  SynthLines& operator=(const SynthLines&) = delete;

  // Takes the lines of the synthesiser the mixer links, if it links one.
  void Take(const MixerCalls& mix);
  // The last line said since the last call ("" when none), which is then forgotten. The
  // synthesiser may speak from the audio thread.
  std::string Last();

 private:
  static void Hear(int level, const char* message, void* data);

  SynthSetLog setLog_ = nullptr;
  std::mutex mutex_;
  std::string last_;
};

}  // namespace ombrevale
