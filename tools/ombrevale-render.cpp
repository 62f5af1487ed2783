// Renders the title vision without a screen: the same compositor, painters, eyes, clock and label
// as the window, with the pictures of dat/, one frame every 20 ms of a clock that starts at a
// given date and time, and random values from a given seed; each frame passed through the flash
// limiter at the size it is seen at, as the program shows it, unless that is turned off. Writes
// the frames as PNG files, or as one animated GIF; or counts their flashes (platform/flash/) and
// draws them as a chart.
//
//   build/ombrevale-render --seed 6 --skip 1 --frames 150 --every 2 --out docs/title.gif
//   build/ombrevale-render --frames 50 --out frames/      (frames/frame-0000.png, ...)
//   build/ombrevale-render --scale 6 --frames 50 --out frames-6x/
//   build/ombrevale-render --flashes --scale 2 --frames 1500 --plot flashes.png
//   build/ombrevale-render --replay session.replay --flashes --frames-out frames/ --video s.webm
//
// It finds dat/ as the program does: in the folder given with --data, else the working folder,
// else the installed one; without it, it refuses. The same options always give the same frames.

#include <fcntl.h>
#include <gif_lib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/DataFolder.h"
#include "backends/sdl/pictures/PngFile.h"
#include "platform/FatalError.h"
#include "platform/PageLayout.h"
#include "platform/files/WholeFile.h"
#include "tools/FlashPlot.h"
#include "tools/FlashReport.h"
#include "tools/Render.h"
#include "tools/ReplayRender.h"
#include "tools/StopSignals.h"
#include "tools/VideoFile.h"
#include "vision/VisionPictures.h"

namespace ombrevale {
namespace {

constexpr int kFramesPerSecond = 1000 / kRenderStepMs;

constexpr const char* kUsage =
    "Usage: ombrevale-render [--data DIR] [--seed N] [--skip N] [--frames N] [--every N]\n"
    "                        [--scale S] [--no-flash-limit] [--start \"YYYY/MM/DD H:MM:SS\"]\n"
    "                        --out PATH\n"
    "       ombrevale-render --flashes [--scale S] [--no-flash-limit] [--plot FILE]\n"
    "                        [--data DIR] [--seed N] [--skip N] [--frames N]\n"
    "                        [--start \"YYYY/MM/DD H:MM:SS\"] [--out PATH]\n"
    "Renders the title vision of Ombrevale from the pictures in dat/, one frame every 20 ms, as a\n"
    "player sees it: every frame passes through the flash limiter at the size it is seen at.\n"
    "  --data DIR    take dat/ from DIR (else from the working folder, else the installed one)\n"
    "  --seed N      the random seed (0 to 4294967295; default 1)\n"
    "  --skip N      leave out the first N frames (0 to 100000; default 0): the first one shows\n"
    "                the label's caption \"Burst\", before the clock first writes it\n"
    "  --frames N    how many frames to keep after those (1 to 100000; default 50)\n"
    "  --every N     keep every Nth frame only, each shown N times as long (1 to 100; default 1)\n"
    "  --start TEXT  the date and time of the first frame (default \"2026/12/07 6:38:40\")\n"
    "  --out PATH    a file ending in .gif for one animated GIF, else a folder for PNG files\n"
    "                named by each frame's number in the run (frame-0001.png, ...)\n"
    "  --flashes     count the flashes of every frame after the skipped ones as the program\n"
    "                shows them, through its flash limiter, as WCAG 2.x counts general and red\n"
    "                flashes: in each one-second window (the 50 frames up to each frame), in the\n"
    "                10-degree field of view where they are most, a flash for every two\n"
    "                transitions, the last one alone counting as one. The last line says \"most\n"
    "                flashes in one second: X general, Y red (threshold 3); seconds over it: Z\n"
    "                of T\": T is how many whole seconds (50 frames each, from the first counted)\n"
    "                the run holds, and Z how many of those are over: a second is over when the\n"
    "                window up to one of its frames holds more than 3 general or more than 3 red\n"
    "                flashes (7 transitions or more)\n"
    "  --scale S     how large the page is seen, against its natural size on a 1024 x 768\n"
    "                screen (a number above 0, up to 100; default 1): the frames pass through\n"
    "                the flash limiter at that size; a 10-degree field is then 341 / S x 256 / S\n"
    "                pixels of the canvas. The frames keep the canvas's own 400 x 300 pixels\n"
    "  --no-flash-limit  the frames as the vision draws them, not limited (its flashes as\n"
    "                designed); with --flashes, their count\n"
    "  --plot FILE   with --flashes: draw the flashes in the second up to each frame over the\n"
    "                run, general and red, as a PNG chart\n"
    "       ombrevale-render --replay FILE [--flashes [--scale S] [--plot FILE]]\n"
    "                        [--frames-out DIR] [--video FILE]\n"
    "  --replay FILE play the replay in FILE as fast as can be, checking every frame as\n"
    "                the program's --replay does: status 0 when each was as recorded, 1 when\n"
    "                one was not (the frame is then left beside the replay), 2 when the file\n"
    "                cannot be played. With --flashes, the flashes of the session as the\n"
    "                player saw it, at the largest scale it was shown at unless --scale says\n"
    "  --frames-out DIR  with --replay: every frame as a PNG file in DIR (frame-0000.png ...)\n"
    "  --video FILE  with --replay: the session as a video, 50 frames a second (.webm: VP9,\n"
    "                .mp4: H.264; what FFmpeg's libraries make of the name)\n"
    "  --help        this text\n";

struct Options {
  uint32_t seed = 1;
  int skip = 0;
  int frames = 50;
  int every = 1;
  DateTimeFields start = RenderOptions{}.start;
  std::string out;
  bool flashes = false;
  bool limit = true;
  std::optional<std::string> data;
  std::optional<double> scale;
  std::string plot;
  std::string replay, framesOut, video;
  bool framed = false;  // --seed, --skip, --frames, --every or --start given
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
    if (option == "--data")
      o.data = value;
    else
      (option == "--plot"         ? o.plot
       : option == "--replay"     ? o.replay
       : option == "--frames-out" ? o.framesOut
       : option == "--video"      ? o.video
                                  : o.out) = value;
  }
  o.framed |= option == "--seed" || option == "--skip" || option == "--frames" ||
              option == "--every" || option == "--start";
}

// The options of a replay go with it, and those of a run from a seed without it.
void CheckReplayOptions(const Options& o) {
  if (o.replay.empty()) {
    if (!o.framesOut.empty() || !o.video.empty())
      throw UsageError("--frames-out and --video go with --replay");
    return;
  }
  if (o.framed || !o.out.empty())
    throw UsageError("a replay holds its own seed, start and frames: --replay goes without "
                     "--seed, --skip, --frames, --every, --start and --out");
}

Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    }
    if (arg == "--flashes" || arg == "--no-flash-limit") {
      (arg == "--flashes" ? o.flashes : o.limit) = arg == "--flashes";
      continue;
    }
    if (arg != "--seed" && arg != "--skip" && arg != "--frames" && arg != "--every" &&
        arg != "--start" && arg != "--out" && arg != "--scale" && arg != "--plot" &&
        arg != "--replay" && arg != "--frames-out" && arg != "--video" && arg != "--data")
      throw UsageError("unknown option \"" + arg + "\"");
    if (i + 1 >= argc) throw UsageError(arg + " needs a value");
    TakeValue(o, arg, argv[++i]);
  }
  if (!o.flashes && !o.plot.empty()) throw UsageError("--plot goes with --flashes");
  CheckReplayOptions(o);
  if (o.out.empty() && !o.flashes && o.replay.empty())
    throw UsageError("--out is missing: where should the frames go?");
  return o;
}

// An animated GIF that loops forever, each frame with its own 256-colour palette. It has its name
// only once it is closed whole.
class GifWriter {
 public:
  explicit GifWriter(const std::string& path) : path_(path), whole_(path) {
    // Made readable by all, as any other file the user writes (giflib would make it private).
    const int fd = open(whole_.Partial().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
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
    whole_.Keep();
  }

 private:
  [[noreturn]] void Fail(int error) {
    const char* why = GifErrorString(error);
    throw FatalError("cannot write " + path_ + ": " + (why ? why : "GIF error"));
  }

  std::string path_;
  WholeFile whole_;  // closed after the file, so that an unfinished one is removed
  GifFileType* gif_ = nullptr;
  bool first_ = true;
};

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void MakeFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
    throw FatalError("cannot make the folder " + path + ": " + std::strerror(errno));
}

// A replay played and checked; its frames, its flashes and its video, as asked.
int RenderReplayRun(const Options& o) {
  if (!o.framesOut.empty()) MakeFolder(o.framesOut);
  // A replay's frames are those its program showed, through the limiter at the size it was seen:
  // they are counted as they are.
  std::optional<FlashReport> flashes;
  const double scale = o.scale.value_or(o.flashes ? LargestShownScale(o.replay) : 1);
  if (o.flashes)
    flashes.emplace(kCanvasWidth, kCanvasHeight, scale, /*limited=*/false, 0, kFramesPerSecond);
  std::optional<VideoFile> video;
  if (!o.video.empty()) video.emplace(o.video, kCanvasWidth, kCanvasHeight, kFramesPerSecond);
  int frames = 0;
  ReplayRenderOptions play;
  if (o.flashes || !o.framesOut.empty() || video) {
    play.frame = [&](int i, const Surface& frame) {
      frames = i + 1;
      if (flashes) flashes->Add(frame, static_cast<uint32_t>(i * kRenderStepMs));
      if (video) video->Add(frame);
      if (o.framesOut.empty()) return;
      char name[32];
      std::snprintf(name, sizeof name, "/frame-%04d.png", i);
      WritePng(o.framesOut + name, frame);
    };
  }
  const int status = RenderReplay(o.replay, play);
  if (video) video->Close();
  if (flashes && status != 2) {
    char seen[32];
    std::snprintf(seen, sizeof seen, ", seen at %gx", scale);
    const std::string run = "the replay " + o.replay + seen;
    std::fputs(flashes->Lines(run, frames - 1).c_str(), stdout);
    if (!o.plot.empty())
      WritePng(o.plot,
               DrawFlashPlot(flashes->Tally(), std::string("Flashes of the title vision, ") + run));
  }
  return status;
}

// A path as seen from the working folder, whole, so that it still names the same file once the
// renderer works in the data folder.
std::string Whole(const std::string& path) {
  if (path.empty()) return path;
  return std::filesystem::absolute(path).lexically_normal().string();
}

// Goes where the pictures are, as the program does; without them there is nothing to render, and a
// run of black frames would count no flash, so the renderer refuses.
Options EnterPictures(Options o) {
  const DataFolderChoice data = ChooseDataFolder(DataFolderPlacesHere(o.data), HoldsDatFolder);
  if (data.folder) {
    for (std::string* path : {&o.out, &o.plot, &o.replay, &o.framesOut, &o.video})
      *path = Whole(*path);
  }
  if (!data.lookedIn.empty())
    throw FatalError("found no dat/ folder with its pictures in " + data.lookedIn +
                     "; there is nothing to render without them");
  if (const auto complaint = EnterDataFolder(data)) throw FatalError(*complaint);
  // A dat/ folder that lacks some of them: the frames are drawn without them, as the program draws
  // them, but a count of flashes would count less than the vision shows, so it is refused.
  std::vector<std::string> missing;
  for (const std::string& file : VisionFiles())
    if (!std::filesystem::is_regular_file(file)) missing.push_back(file);
  if (missing.empty()) return o;
  const std::string found =
      "found no " + missing.front() +
      (missing.size() > 1
           ? " and " + std::to_string(missing.size() - 1) + " more of the pictures"
           : std::string()) +
      " in " + std::filesystem::current_path().string();
  if (o.flashes) throw FatalError(found + "; there is nothing to count without them");
  std::fprintf(stderr, "ombrevale-render: %s; the frames are drawn without them\n", found.c_str());
  return o;
}

int Render(const Options& o) {
  if (!o.replay.empty()) return RenderReplayRun(o);
  const bool gif = EndsWith(o.out, ".gif");
  std::optional<GifWriter> writer;
  if (gif) {
    writer.emplace(o.out);
  } else if (!o.out.empty() && mkdir(o.out.c_str(), 0777) != 0 && errno != EEXIST) {
    throw FatalError("cannot make the folder " + o.out + ": " + std::strerror(errno));
  }
  std::optional<FlashReport> flashes;
  if (o.flashes)
    flashes.emplace(kCanvasWidth, kCanvasHeight, o.scale.value_or(1), o.limit, o.skip,
                    kFramesPerSecond);
  // The frames left out are drawn all the same: each frame follows from the ones before it. A count
  // takes the frames as drawn and passes them through the limiter itself, to say what it changed.
  const double scale = o.scale.value_or(1);
  const RenderOptions render{o.seed, o.skip + o.frames, o.start, scale, o.limit && !flashes};
  RenderFrames(render, [&](int i, const Surface& drawn) {
    if (i < o.skip) return;
    if (flashes) flashes->Add(drawn, static_cast<uint32_t>(i * kRenderStepMs));
    const Surface& frame = flashes ? flashes->ShownFrame(drawn) : drawn;
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
  if (flashes) {
    const std::string run = FlashRunName(o.seed, o.start, o.scale.value_or(1), o.limit);
    std::fputs(flashes->Lines(run, o.skip + o.frames - 1).c_str(), stdout);
    if (!o.plot.empty())
      WritePng(o.plot,
               DrawFlashPlot(flashes->Tally(), std::string("Flashes of the title vision, ") + run));
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
  // Ctrl+C and kill stop the run between frames, leaving whole files only.
  NoteStopSignals();
  try {
    const int status = Render(EnterPictures(options));
    StopHereIfAsked();
    return status;
  } catch (const StopAsked& stop) {
    EndBySignal(stop.signal);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ombrevale-render: %s\n", e.what());
    return 1;
  }
}
