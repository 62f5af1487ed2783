// What a replay of an hour of the title page costs: the session run on the headless backend for an
// hour of simulated time, recorded as the program records it (the desktop waking a millisecond
// late now and then, as a real one does), then played back without a screen and checked frame by
// frame, as `ombrevale-render --replay` does. Prints the file's size, in all and a minute, and the
// time the check took.
//
//   build/bench/replay_hour [MINUTES] [FILE]   (from the repository root, where dat/ is; default
//                                               60 minutes; FILE keeps the replay)

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include "app/App.h"
#include "app/FixedStartClock.h"
#include "app/RecordedServices.h"
#include "app/ReplayRun.h"
#include "backends/headless/Headless.h"
#include "backends/headless/RecordingMedia.h"
#include "backends/headless/ScreenlessDesktop.h"
#include "backends/sdl/pictures/SdlPictures.h"
#include "platform/replay/ReplayReader.h"

namespace ombrevale {
namespace {

// Waiting moves the simulated clock to the slot due, a millisecond late one time in four; the
// window closes when the run is over.
class SimulatedDesktop final : public ScreenlessDesktop {
 public:
  SimulatedDesktop(FakeClock& clock, uint32_t runMs) : clock_(clock), end_(clock.now + runMs) {}
  void PumpEvents(WindowEvents& events) override {
    if (static_cast<int32_t>(clock_.now - end_) >= 0 && !events.Ended()) events.Unload();
  }
  void WaitEvents(std::optional<uint32_t> due) override {
    if (due && static_cast<int32_t>(*due - clock_.now) > 0) clock_.now = *due + (late_() % 4 == 0);
  }

 private:
  FakeClock& clock_;
  uint32_t end_;
  std::mt19937 late_{1};
};

// Wall-clock seconds since `since`, and the processor's seconds this process spent since `cpu`.
double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}
double CpuSeconds(std::clock_t cpu) {
  return static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
}

}  // namespace
}  // namespace ombrevale

int main(int argc, char** argv) {
  using namespace ombrevale;
  const int minutes = argc > 1 ? std::atoi(argv[1]) : 60;
  FakeClock clock;
  FixedStartClock wallClock(clock, {2026, 12, 31, 23, 30, 0});
  SystemRandom random;
  SimulatedDesktop desktop(clock, static_cast<uint32_t>(minutes) * 60'000);
  RecordingMedia media;
  SdlPictureReader pictures;
  Platform platform{wallClock, random, desktop, media, pictures};
  SessionRecorder recorder(SessionHeader(wallClock, "headless", false), std::nullopt);
  RecordedPlatform recorded(platform, recorder, [] {});
  App app(recorded.platform);
  auto started = std::chrono::steady_clock::now();
  std::clock_t cpu = std::clock();
  Main(app);
  const std::vector<uint8_t> file = recorder.File();
  const double recordSeconds = Seconds(started), recordCpu = CpuSeconds(cpu);
  if (argc > 2) std::ofstream(argv[2], std::ios::binary).write(
      reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));

  started = std::chrono::steady_clock::now();
  cpu = std::clock();
  const Replay replay = ReadReplay(file);
  RecordingMedia silent;
  SdlPictureReader again;
  const ReplayResult result = PlayReplay(replay, silent, again, {});
  const double checkSeconds = Seconds(started), checkCpu = CpuSeconds(cpu);
  std::printf("recorded %d min of the title page: %llu frames, %zu bytes (%.1f KB a minute, "
              "%.2f bytes a frame), in %.1f s (%.1f s of processor)\n",
              minutes, static_cast<unsigned long long>(replay.frames), file.size(),
              file.size() / 1024.0 / minutes, static_cast<double>(file.size()) / replay.frames,
              recordSeconds, recordCpu);
  std::printf("checked %llu frames headless in %.1f s (%.1f s of processor, %.0f frames a "
              "second of it): %s\n",
              static_cast<unsigned long long>(result.framesChecked), checkSeconds, checkCpu,
              result.framesChecked / checkCpu,
              result.divergence ? result.divergence->what.c_str() : "every one as recorded");
  return result.divergence ? 1 : 0;
}
