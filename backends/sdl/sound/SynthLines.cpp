#include "backends/sdl/sound/SynthLines.h"

#include <utility>

namespace ombrevale {

namespace {

constexpr int kSynthLogLevels = 5;  // FluidSynth's panic, error, warning, information, debug

void Drop(int, const char*, void*) {}

}  // namespace

SynthLines::~SynthLines() {
  if (setLog_ == nullptr) return;
  for (int level = 0; level < kSynthLogLevels; ++level) setLog_(level, &Drop, nullptr);
}

void SynthLines::Take(const MixerCalls& mix) {
  setLog_ = mix.SetSynthLog;
  if (setLog_ == nullptr) return;
  for (int level = 0; level < kSynthLogLevels; ++level) setLog_(level, &Hear, this);
}

std::string SynthLines::Last() {
  const std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(last_, {});
}

void SynthLines::Hear(int, const char* message, void* data) {
  auto* lines = static_cast<SynthLines*>(data);
  const std::lock_guard<std::mutex> lock(lines->mutex_);
  lines->last_ = message != nullptr ? message : "";
}

}  // namespace ombrevale
