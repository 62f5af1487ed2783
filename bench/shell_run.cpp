// Runs the whole program on the real desktop for a while and reports what a user pays for the
// title page: frames drawn, processor use, time to the first frame and peak memory.
//
//   xvfb-run -s "-screen 0 1024x768x24" build/bench/shell_run [seconds] [WIDTHxHEIGHT]
//
// With a size, the window is made that large once it is shown, so that the whole program is
// measured scaled.
//
// It builds the same application as build/ombrevale, on the same SDL backend, with a thin
// wrapper around the desktop that counts the frames and closes the window when time is up.

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include "app/App.h"
#include "backends/sdl/pictures/SdlPictures.h"
#include "backends/sdl/sound/SdlMedia.h"
#include "backends/sdl/window/SdlDesktop.h"
#include "backends/sdl/window/SdlVideo.h"
#include "platform/scale/Scaler.h"
#include "vision/VisionPictures.h"

namespace ombrevale {
namespace {

double BootSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_BOOTTIME, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

// When this process started, in seconds since boot (to a clock tick).
double ProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string line;
  std::getline(stat, line);
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  for (int i = 3; i <= 22; ++i) fields >> field;  // field 22: start time in ticks
  return std::stod(field) / sysconf(_SC_CLK_TCK);
}

double CpuSeconds() {
  rusage use{};
  getrusage(RUSAGE_SELF, &use);
  return use.ru_utime.tv_sec + use.ru_stime.tv_sec +
         (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

// When each stage of the start ended, in seconds since boot, for the breakdown printed at the end.
struct StartStages {
  double video = 0, desktop = 0, access = 0, loadStart = 0, picturesSeconds = 0, shown = 0,
         firstPresentStart = 0;
};
StartStages stages;

// The real reader, timed: the start's share spent reading the pictures.
class MeasuringPictures final : public PictureReader {
 public:
  explicit MeasuringPictures(PictureReader& inner) : inner_(inner) {}
  std::string FileExists(const std::string& path) override { return inner_.FileExists(path); }
  Surface LoadPicture(const std::string& path) override {
    const double began = BootSeconds();
    Surface picture = inner_.LoadPicture(path);
    stages.picturesSeconds += BootSeconds() - began;
    return picture;
  }

 private:
  PictureReader& inner_;
};

class MeasuringDesktop final : public Desktop {
 public:
  MeasuringDesktop(SdlDesktop& inner, double seconds, int width, int height)
      : inner_(inner), seconds_(seconds), width_(width), height_(height) {}

  float ScreenWidth() override { return inner_.ScreenWidth(); }
  float ScreenHeight() override { return inner_.ScreenHeight(); }
  void SetWindowSize(float w, float h) override {
    if (stages.loadStart == 0) stages.loadStart = BootSeconds();
    inner_.SetWindowSize(w, h);
  }
  float WindowWidth() override { return inner_.WindowWidth(); }
  float WindowHeight() override { return inner_.WindowHeight(); }
  void SetWindowPosition(float l, float t) override { inner_.SetWindowPosition(l, t); }
  void SetCaption(std::string_view c) override { inner_.SetCaption(c); }
  void SetMenu(const std::vector<std::string>& e) override { inner_.SetMenu(e); }
  void ShowWindow() override {
    inner_.ShowWindow();
    if (width_ > 0 && height_ > 0) {
      SDL_SetWindowSize(inner_.Window(), width_, height_);
      SDL_PumpEvents();
    }
    stages.shown = BootSeconds();
  }
  void WaitEvents(std::optional<uint32_t> due) override { inner_.WaitEvents(due); }
  void MessageBox(std::string_view t, std::string_view x) override { inner_.MessageBox(t, x); }
  bool PrefersLessMotion() override { return inner_.PrefersLessMotion(); }
  double ShownScale() override { return inner_.ShownScale(); }

  void PumpEvents(WindowEvents& events) override {
    inner_.PumpEvents(events);
    if (frames > 0 && !events.Ended() && BootSeconds() - firstFrameAt >= seconds_) {
      endAt = BootSeconds();
      cpuAtEnd = CpuSeconds();
      events.Unload();
    }
  }

  void Present(const Scene& scene) override {
    if (frames == 0) stages.firstPresentStart = BootSeconds();
    inner_.Present(scene);
    if (frames++ == 0) {
      firstFrameAt = BootSeconds();
      cpuAtFirstFrame = CpuSeconds();
    }
  }

  int frames = 0;
  double firstFrameAt = 0, endAt = 0, cpuAtFirstFrame = 0, cpuAtEnd = 0;

 private:
  SdlDesktop& inner_;
  double seconds_;
  int width_, height_;
};

}  // namespace
}  // namespace ombrevale

int main(int argc, char** argv) {
  using namespace ombrevale;
  const double mainAt = BootSeconds();
  const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
  int width = 0, height = 0;
  if (argc > 2 && std::sscanf(argv[2], "%dx%d", &width, &height) != 2) {
    std::fprintf(stderr, "usage: shell_run [seconds] [WIDTHxHEIGHT]\n");
    return 2;
  }
  // As the program does: the pictures are read while SDL reaches the desktop.
  SdlPictureReader reader;
  reader.ReadAhead(VisionFiles());
  SdlVideo video;
  stages.video = BootSeconds();
  SystemClock clock;
  SystemRandom random;
  SdlDesktop sdl(clock);
  stages.desktop = BootSeconds();
  sdl.OpenAccess("Ombrevale");
  stages.access = BootSeconds();
  MeasuringDesktop desktop(sdl, seconds, width, height);
  SdlMedia media;
  MeasuringPictures pictures(reader);
  Platform platform{clock, random, desktop, media, pictures};
  App app(platform);
  const int status = Main(app);

  rusage use{};
  getrusage(RUSAGE_SELF, &use);
  int shownWidth = 0, shownHeight = 0;
  SDL_GetWindowSize(sdl.Window(), &shownWidth, &shownHeight);
  std::printf("window: %d x %d, scaled %dx, drawn in %s\n", shownWidth, shownHeight,
              FitWholeFactor(shownWidth, shownHeight, kClientWidth, kClientHeight).factor,
              sdl.DrawingName().c_str());
  const double span = desktop.endAt - desktop.firstFrameAt;
  // Frames from the first one up to the close, which comes in the pass due after `seconds`.
  std::printf("frames in %.2f s: %d (%.2f a second)\n", span, desktop.frames,
              desktop.frames / span);
  std::printf("processor: %.1f %% of one core\n",
              100.0 * (desktop.cpuAtEnd - desktop.cpuAtFirstFrame) / span);
  std::printf("first frame: %.0f ms after the process started, %.0f ms after main\n",
              1000 * (desktop.firstFrameAt - ProcessStart()),
              1000 * (desktop.firstFrameAt - mainAt));
  const double began = ProcessStart();
  auto ms = [](double seconds) { return 1000 * seconds; };
  std::printf(
      "start: %.0f ms to main, %.0f ms video, %.0f ms window and fonts, %.1f ms the screen "
      "readers' bridge (%s), %.0f ms to the load handler, %.0f ms load handler (%.0f ms "
      "pictures), %.0f ms to the first frame, %.0f ms drawing it\n",
      ms(mainAt - began), ms(stages.video - mainAt), ms(stages.desktop - stages.video),
      ms(stages.access - stages.desktop), sdl.AccessOpen() ? "open" : "not open",
      ms(stages.loadStart - stages.access), ms(stages.shown - stages.loadStart),
      ms(stages.picturesSeconds), ms(stages.firstPresentStart - stages.shown),
      ms(desktop.firstFrameAt - stages.firstPresentStart));
  std::printf("peak resident memory: %.1f MB\n", use.ru_maxrss / 1024.0);
  return status;
}
