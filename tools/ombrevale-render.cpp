// Renders the title vision without a screen: the same compositor, painters, eyes, clock and label
// as the window, with the pictures of dat/, one frame every 20 ms of a clock that starts at a
// given date and time, and random values from a given seed; each frame passed through the flash
// limit at the size it is seen at, as the program shows it, unless that is turned off. Writes the
// frames as PNG files, or as one animated GIF; or counts their flashes
// (platform/flash/FlashAnalysis.h) and draws them as a chart.
//
//   build/ombrevale-render --seed 6 --skip 1 --frames 150 --every 2 --out docs/title.gif
//   build/ombrevale-render --frames 50 --out frames/      (frames/frame-0000.png, ...)
//   build/ombrevale-render --scale 6 --frames 50 --out frames-6x/
//   build/ombrevale-render --flashes --scale 2 --frames 1500 --plot flashes.png
//
// Run it from the repository root, so that it finds dat/. The same options always give the same
// frames.

#include <fcntl.h>
#include <gif_lib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/FatalError.h"
#include "platform/PageLayout.h"
#include "platform/flash/FlashAnalysis.h"
#include "tools/FlashPlot.h"
#include "platform/flash/FlashTally.h"
#include "tools/Png.h"
#include "tools/Render.h"

namespace ombrevale {
namespace {

constexpr int kFramesPerSecond = 1000 / kRenderStepMs;

constexpr const char* kUsage =
    "Usage: ombrevale-render [--seed N] [--skip N] [--frames N] [--every N] [--scale S]\n"
    "                        [--no-flash-limit] [--start \"YYYY/MM/DD H:MM:SS\"] --out PATH\n"
    "       ombrevale-render --flashes [--scale S] [--no-flash-limit] [--plot FILE] [--seed N]\n"
    "                        [--skip N] [--frames N] [--start \"YYYY/MM/DD H:MM:SS\"]\n"
    "                        [--out PATH]\n"
    "Renders the title vision of Ombrevale from the pictures in dat/, one frame every 20 ms, as a\n"
    "player sees it: every frame passes through the flash limit at the size it is seen at.\n"
    "  --seed N      the random seed (0 to 4294967295; default 1)\n"
    "  --skip N      leave out the first N frames (0 to 100000; default 0): the first one shows\n"
    "                the label's caption \"Burst\", before the clock first writes it\n"
    "  --frames N    how many frames to keep after those (1 to 100000; default 50)\n"
    "  --every N     keep every Nth frame only, each shown N times as long (1 to 100; default 1)\n"
    "  --start TEXT  the date and time of the first frame (default \"2026/12/07 6:38:40\")\n"
    "  --out PATH    a file ending in .gif for one animated GIF, else a folder for PNG files\n"
    "                named by each frame's number in the run (frame-0001.png, ...)\n"
    "  --flashes     count the flashes of every frame after the skipped ones, as WCAG 2.x\n"
    "                counts general and red flashes: in each one-second window (the 50 frames\n"
    "                up to each frame), in the 10-degree field of view where they are most.\n"
    "                The last line says \"most flashes in one second: X general, Y red\n"
    "                (threshold 3); seconds over it: Z of T\": T is how many whole seconds\n"
    "                (50 frames each, from the first counted) the run holds, and Z how many of\n"
    "                those are over: a second is over when the window up to one of its frames\n"
    "                holds more than 3 general or more than 3 red flashes. The line before\n"
    "                it says how many of the frames the flash limit changed\n"
    "  --scale S     how large the page is seen, against its natural size on a 1024 x 768\n"
    "                screen (a number above 0, up to 100; default 1): the frames pass through\n"
    "                the flash limit at that size; a 10-degree field is then 341 / S x 256 / S\n"
    "                pixels of the canvas. The frames keep the canvas's own 400 x 300 pixels\n"
    "  --no-flash-limit  the frames as the vision draws them, not limited (its flashes as\n"
    "                designed); with --flashes, their count\n"
    "  --plot FILE   with --flashes: draw the flashes in the second up to each frame over the\n"
    "                run, general and red, as a PNG chart\n"
    "  --help        this text\n";

struct Options {
  uint32_t seed = 1;
  int skip = 0;
  int frames = 50;
  int every = 1;
  DateTimeFields start = RenderOptions{}.start;
  std::string out;
  bool flashes = false;
  std::optional<double> scale;
  bool flashLimit = true;
  std::string plot;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::optional<unsigned long> Number(const std::string& text, unsigned long max) {
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const unsigned long value = std::stoul(text);
  if (value > max) return std::nullopt;
  return value;
}

// A whole number from `least` to `most` for `option`, or a usage error that says so.
int WholeNumber(const std::string& option, const std::string& value, unsigned long least,
                unsigned long most) {
  const auto n = Number(value, most);
  if (!n || *n < least)
    throw UsageError(option + " takes a whole number from " + std::to_string(least) + " to " +
                     std::to_string(most) + ", not \"" + value + "\"");
  return static_cast<int>(*n);
}

// Takes the value of one option that has one.
void TakeValue(Options& o, const std::string& option, const std::string& value) {
  if (option == "--seed") {
    const auto n = Number(value, 4294967295ul);
    if (!n)
      throw UsageError("--seed takes a whole number from 0 to 4294967295, not \"" + value + "\"");
    o.seed = static_cast<uint32_t>(*n);
  } else if (option == "--skip") {
    o.skip = WholeNumber(option, value, 0, 100000);
  } else if (option == "--frames") {
    o.frames = WholeNumber(option, value, 1, 100000);
  } else if (option == "--every") {
    o.every = WholeNumber(option, value, 1, 100);
  } else if (option == "--start") {
    const auto t = ReadDateTime(value);
    if (!t)
      throw UsageError("--start takes a date and time like \"2026/12/07 6:38:40\", not \"" + value +
                       "\"");
    o.start = *t;
  } else if (option == "--scale") {
    char* end = nullptr;
    o.scale = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !(*o.scale > 0 && *o.scale <= 100))
      throw UsageError("--scale takes a number above 0, up to 100, not \"" + value + "\"");
  } else {
    if (value.empty()) throw UsageError(option + " needs a path");
    (option == "--plot" ? o.plot : o.out) = value;
  }
}

Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    }
    if (arg == "--flashes") {
      o.flashes = true;
      continue;
    }
    if (arg == "--no-flash-limit") {
      o.flashLimit = false;
      continue;
    }
    if (arg != "--seed" && arg != "--skip" && arg != "--frames" && arg != "--every" &&
        arg != "--start" && arg != "--out" && arg != "--scale" && arg != "--plot")
      throw UsageError("unknown option \"" + arg + "\"");
    if (i + 1 >= argc) throw UsageError(arg + " needs a value");
    TakeValue(o, arg, argv[++i]);
  }
  if (!o.flashes && !o.plot.empty()) throw UsageError("--plot goes with --flashes");
  if (o.out.empty() && !o.flashes)
    throw UsageError("--out is missing: where should the frames go?");
  return o;
}

// An animated GIF that loops forever, each frame with its own 256-colour palette.
class GifWriter {
 public:
  explicit GifWriter(const std::string& path) : path_(path) {
    // Made readable by all, as any other file the user writes (giflib would make it private).
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw FatalError("cannot write " + path + ": " + std::strerror(errno));
    int error = 0;
    gif_ = EGifOpenFileHandle(fd, &error);
    if (gif_ == nullptr) {
      close(fd);
      Fail(error);
    }
    EGifSetGifVersion(gif_, true);
  }
  ~GifWriter() {
    if (gif_ != nullptr) EGifCloseFile(gif_, nullptr);
  }
  GifWriter(const GifWriter&) = delete;
  GifWriter& operator=(const GifWriter&) = delete;

  void Add(const Surface& frame, int delayCs) {
    const int w = frame.Width(), h = frame.Height();
    const size_t n = static_cast<size_t>(w) * h;
    std::vector<GifByteType> r(n), g(n), b(n), indices(n);
    for (size_t i = 0; i < n; ++i) {
      const Pixel p = frame.Pixels()[i];
      r[i] = static_cast<GifByteType>(p >> 16);
      g[i] = static_cast<GifByteType>(p >> 8);
      b[i] = static_cast<GifByteType>(p);
    }
    int colours = 256;
    std::vector<GifColorType> palette(256);
    if (GifQuantizeBuffer(w, h, &colours, r.data(), g.data(), b.data(), indices.data(),
                          palette.data()) == GIF_ERROR)
      Fail(gif_->Error);
    ColorMapObject* map = GifMakeMapObject(256, palette.data());
    if (first_) {
      if (EGifPutScreenDesc(gif_, w, h, 8, 0, nullptr) == GIF_ERROR) Fail(gif_->Error);
      // Loop forever.
      const GifByteType netscape[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
      const GifByteType loop[] = {1, 0, 0};
      if (EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
          EGifPutExtensionBlock(gif_, sizeof netscape, netscape) == GIF_ERROR ||
          EGifPutExtensionBlock(gif_, sizeof loop, loop) == GIF_ERROR ||
          EGifPutExtensionTrailer(gif_) == GIF_ERROR)
        Fail(gif_->Error);
      first_ = false;
    }
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = delayCs;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    const bool ok = EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, extension) != GIF_ERROR &&
                    EGifPutImageDesc(gif_, 0, 0, w, h, false, map) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!ok) Fail(gif_->Error);
    for (int y = 0; y < h; ++y)
      if (EGifPutLine(gif_, indices.data() + static_cast<size_t>(y) * w, w) == GIF_ERROR)
        Fail(gif_->Error);
  }

  void Close() {
    int error = 0;
    const int result = EGifCloseFile(gif_, &error);
    gif_ = nullptr;
    if (result == GIF_ERROR) Fail(error);
  }

 private:
  [[noreturn]] void Fail(int error) {
    const char* why = GifErrorString(error);
    throw FatalError("cannot write " + path_ + ": " + (why ? why : "GIF error"));
  }

  std::string path_;
  GifFileType* gif_ = nullptr;
  bool first_ = true;
};

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// How many of the counted frames the flash limit changed, as a line of its own.
std::string LimitLine(const Options& o, const std::vector<bool>& limited) {
  if (!o.flashLimit) return "";
  const long changed = std::count(limited.begin() + o.skip, limited.end(), true);
  char line[100];
  std::snprintf(line, sizeof line, "the flash limit changed %ld of %d frames (%.1f %%)\n", changed,
                o.frames, 100.0 * static_cast<double>(changed) / o.frames);
  return line;
}

int Render(const Options& o) {
  const bool gif = EndsWith(o.out, ".gif");
  std::optional<GifWriter> writer;
  if (gif) {
    writer.emplace(o.out);
  } else if (!o.out.empty() && mkdir(o.out.c_str(), 0777) != 0 && errno != EEXIST) {
    throw FatalError("cannot make the folder " + o.out + ": " + std::strerror(errno));
  }
  std::optional<FlashAnalysis> analysis;
  std::optional<FlashTally> tally;
  if (o.flashes) {
    analysis.emplace(kCanvasWidth, kCanvasHeight, o.scale.value_or(1), kFramesPerSecond);
    tally.emplace(o.skip, kFramesPerSecond);
  }
  // The frames left out are drawn all the same: each frame follows from the ones before it.
  const RenderOptions render{o.seed, o.skip + o.frames, o.start, o.scale.value_or(1), o.flashLimit};
  const std::vector<bool> limited = RenderFrames(render, [&](int i, const Surface& frame) {
    if (i < o.skip) return;
    if (analysis) tally->Add(analysis->AddFrame(frame));
    if (o.out.empty() || (i - o.skip) % o.every != 0) return;
    if (gif) {
      writer->Add(frame, o.every * kRenderStepMs / 10);
    } else {
      char name[32];
      std::snprintf(name, sizeof name, "/frame-%04d.png", i);
      WritePng(o.out + name, frame);
    }
  });
  if (gif) writer->Close();
  if (tally) {
    char run[140];
    std::snprintf(run, sizeof run, "seed %u from %s, seen at %gx%s", o.seed,
                  FormatDateTime(o.start).c_str(), o.scale.value_or(1),
                  o.flashLimit ? "" : " without the flash limit");
    std::printf("flashes of the title vision, %s, frames %d to %d: %s\n%s%s%s", run, o.skip,
                o.skip + o.frames - 1, analysis->Seeing().c_str(), tally->Places().c_str(),
                LimitLine(o, limited).c_str(), tally->LastLine().c_str());
    if (!o.plot.empty())
      WritePng(o.plot, DrawFlashPlot(*tally, std::string("Flashes of the title vision, ") + run));
  }
  return 0;
}

}  // namespace
}  // namespace ombrevale

int main(int argc, char** argv) {
  using namespace ombrevale;
  Options options;
  try {
    options = ParseOptions(argc, argv);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "ombrevale-render: %s\n%s", e.what(), kUsage);
    return 2;
  }
  try {
    return Render(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ombrevale-render: %s\n", e.what());
    return 1;
  }
}
