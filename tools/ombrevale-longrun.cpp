// Runs the whole program on the headless backend for hours of simulated time, as fast as the
// processor allows: the real loop with its slots, the title vision with the pictures of dat/, the
// clock reading a calendar that moves with the simulated time. The millisecond clock starts half
// the run before it wraps past 2^32, so the run crosses the wrap in its middle.
//
//   build/ombrevale-longrun --hours 24      (about 4.3 million frames; run from the repository
//   root)
//
// After every frame it checks that the layer states, the noise switch, the eye step and the
// clock's seconds are in range; at the end, that every slot fired at its interval throughout and
// that memory stayed flat after the first simulated minutes. Prints the figures; exit status 0
// when all held, 1 when one did not, 2 for bad options.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "app/App.h"
#include "backends/headless/Headless.h"
#include "backends/headless/RecordingMedia.h"
#include "backends/headless/ScreenlessDesktop.h"
#include "backends/sdl/pictures/SdlPictures.h"
#include "tools/Render.h"

namespace ombrevale {
namespace {

// Resident memory of this process in kilobytes.
long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

bool EyeStepValid(int16_t step) {
  return (step >= kEyeOpen && step <= kSlowBlinkLast) ||
         (step >= kQuickBlinkFirst && step <= kQuickBlinkLast);
}

// A desktop without a screen whose waiting moves the simulated clock straight to the next due
// slot, and which closes the window when the run is over.
class SimulatedDesktop final : public ScreenlessDesktop {
 public:
  SimulatedDesktop(FakeClock& clock, DateTimeFields start, uint64_t runMs)
      : clock_(clock), start_(start), runMs_(runMs) {}

  void PumpEvents(WindowEvents& events) override {
    if (elapsedMs_ >= runMs_ && !events.Ended()) events.Unload();
  }

  void WaitEvents(std::optional<uint32_t> due) override {
    if (!due) {
      elapsedMs_ = runMs_;  // nothing would ever fire again: end the run
      return;
    }
    const uint32_t step = *due - clock_.now;  // wrap-aware
    if (static_cast<int32_t>(step) <= 0) return;
    elapsedMs_ += step;
    clock_.now = *due;
    // The calendar moves on with the simulated time; the text changes once a second.
    const uint64_t second = elapsedMs_ / 1000;
    if (second != lastCalendarSecond_) {
      lastCalendarSecond_ = second;
      clock_.dateTime =
          FormatDateTime(AfterMilliseconds(start_, static_cast<long long>(elapsedMs_)));
    }
  }

  void Present(const Scene&) override {
    ++frames;
    if (lastPresentMs_ && elapsedMs_ - *lastPresentMs_ != kRenderStepMs) ++irregularFrames;
    lastPresentMs_ = elapsedMs_;
    if (onFrame) onFrame(elapsedMs_);
  }

  uint64_t frames = 0, irregularFrames = 0;
  std::function<void(uint64_t)> onFrame;

 private:
  FakeClock& clock_;
  DateTimeFields start_;
  uint64_t runMs_;
  uint64_t elapsedMs_ = 0;
  uint64_t lastCalendarSecond_ = ~uint64_t{0};
  std::optional<uint64_t> lastPresentMs_;
};

int Run(double hours, uint32_t seed) {
  const auto runMs = static_cast<uint64_t>(hours * 3600.0 * 1000.0);
  const DateTimeFields start{2026, 12, 31, 23, 0, 0};
  FakeClock clock;
  clock.now = static_cast<uint32_t>(0x1'0000'0000ull - runMs / 2);  // wraps in the middle
  clock.dateTime = FormatDateTime(start);
  SeededRandom random(seed);
  SimulatedDesktop desktop(clock, start, runMs);
  RecordingMedia media;
  SdlPictureReader pictures;
  Platform platform{clock, random, desktop, media, pictures};
  App app(platform);

  uint64_t outOfRange = 0, faceFrames = 0, blinks = 0, layerChanges = 0;
  std::array<int16_t, 2> lastLayers = app.vision.LayerState;
  int16_t lastEyeStep = 0;
  long warmKb = -1, peakKb = 0;
  const uint64_t warmUpMs = std::min<uint64_t>(runMs / 10, 10 * 60 * 1000);
  desktop.onFrame = [&](uint64_t ms) {
    const VisionP& v = app.vision;
    const bool ok = v.LayerState[0] >= 0 && v.LayerState[0] <= 6 && v.LayerState[1] >= 0 &&
                    v.LayerState[1] <= 6 && v.NoiseMute <= 1 && EyeStepValid(v.EyeStep) &&
                    v.LastSecond >= 0 && v.LastSecond <= 59;
    if (!ok) ++outOfRange;
    if (v.LayerState[0] == kLayerFace || v.LayerState[1] == kLayerFace) ++faceFrames;
    // A blink that started in this frame has shown its first step and waits at its second.
    const bool started = v.EyeStep == kSlowBlinkFirst + 1 || v.EyeStep == kQuickBlinkFirst + 1;
    if (started && v.EyeStep != lastEyeStep) ++blinks;
    lastEyeStep = v.EyeStep;
    if (v.LayerState != lastLayers) ++layerChanges;
    lastLayers = v.LayerState;
    if (desktop.frames % 3000 == 0) {  // once a simulated minute
      const long kb = ResidentKb();
      if (ms >= warmUpMs && warmKb < 0) warmKb = kb;
      if (warmKb >= 0) peakKb = std::max(peakKb, kb);
    }
  };

  // The window's own start, the picture loading included, then the loop until the run is over.
  const long startKb = ResidentKb();
  const int status = Main(app);
  const long endKb = ResidentKb();
  peakKb = std::max(peakKb, endKb);
  if (warmKb < 0) warmKb = startKb;

  const uint64_t expectedFrames = runMs / kRenderStepMs;
  const long growthKb = peakKb - warmKb;
  std::printf("simulated           %.2f h (%llu ms), the millisecond clock wrapping at half time\n",
              hours, static_cast<unsigned long long>(runMs));
  std::printf("frames              %llu (expected %llu), %llu not %d ms after the one before\n",
              static_cast<unsigned long long>(desktop.frames),
              static_cast<unsigned long long>(expectedFrames),
              static_cast<unsigned long long>(desktop.irregularFrames), kRenderStepMs);
  std::printf("states out of range %llu frames\n", static_cast<unsigned long long>(outOfRange));
  std::printf("layer changes       %llu; frames with the face %llu; blinks started %llu\n",
              static_cast<unsigned long long>(layerChanges),
              static_cast<unsigned long long>(faceFrames), static_cast<unsigned long long>(blinks));
  std::printf("clock caption       %s\n", app.form.LabMain1.Caption.c_str());
  std::printf(
      "memory              %ld kB after warm-up, %ld kB peak, %ld kB at the end (growth %ld kB)\n",
      warmKb, peakKb, endKb, growthKb);

  const bool held = status == 0 && outOfRange == 0 && desktop.irregularFrames == 0 &&
                    desktop.frames + 1 >= expectedFrames && desktop.frames <= expectedFrames + 1 &&
                    growthKb < 1024;
  std::printf("%s\n", held ? "all held" : "FAILED");
  return held ? 0 : 1;
}

}  // namespace
}  // namespace ombrevale

int main(int argc, char** argv) {
  double hours = 24;
  uint32_t seed = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    char* end = nullptr;
    if (arg == "--hours" && i + 1 < argc) {
      hours = std::strtod(argv[++i], &end);
      if (*end != '\0' || !(hours > 0 && hours <= 24 * 30)) {
        std::fprintf(stderr, "ombrevale-longrun: --hours takes a number of hours, up to 720\n");
        return 2;
      }
    } else if (arg == "--seed" && i + 1 < argc) {
      seed = static_cast<uint32_t>(std::strtoul(argv[++i], &end, 10));
      if (*end != '\0') {
        std::fprintf(stderr, "ombrevale-longrun: --seed takes a whole number\n");
        return 2;
      }
    } else {
      std::fprintf(stderr, "Usage: ombrevale-longrun [--hours H] [--seed N]\n");
      return arg == "--help" ? 0 : 2;
    }
  }
  return ombrevale::Run(hours, seed);
}
