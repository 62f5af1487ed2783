#include "app/ReplayRun.h"

#include "app/ReplayFiles.h"
#include "app/TitleRun.h"
#include "platform/Complaint.h"
#include "platform/FatalError.h"

namespace ombrevale {
namespace {

// A picture that shows where `shown` differs from `before`: those pixels red, the rest as
// `before` shows them, dimmed to a quarter.
Surface Difference(const Surface& shown, const Surface& before) {
  Surface out(shown.Width(), shown.Height());
  for (int y = 0; y < shown.Height(); ++y) {
    for (int x = 0; x < shown.Width(); ++x) {
      const bool inside = x < before.Width() && y < before.Height();
      const Pixel b = inside ? before.At(x, y) : 0;
      out.Set(x, y, !inside || shown.At(x, y) != b ? Rgb(255, 0, 0) : (b >> 2) & 0x3F3F3F);
    }
  }
  return out;
}

// The path of a picture beside the replay: its name without ".replay", then `what`.
std::string Beside(const std::string& path, const std::string& what) {
  const std::string ending = ".replay";
  const bool ends = path.size() > ending.size() &&
                    path.compare(path.size() - ending.size(), ending.size(), ending) == 0;
  return (ends ? path.substr(0, path.size() - ending.size()) : path) + what + ".png";
}

// Frame `frame` of the replay, drawn again headless; empty when the replay never shows it.
Surface FrameOf(const Replay& replay, uint64_t frame, Media& media, PictureReader& pictures) {
  Surface canvas;
  ReplayShowing nowhere;
  nowhere.lastFrame = frame;
  PlayReplay(replay, media, pictures, nowhere, [&](uint64_t i, const Scene& scene) {
    if (i == frame && scene.canvas != nullptr) canvas = *scene.canvas;
  });
  return canvas;
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

void WritePictures(const std::string& path, const ReplayResult& result, const Replay& replay,
                   const PictureWriter& write, Media& media, PictureReader& pictures) {
  const uint64_t n = result.divergence->frame;
  std::vector<std::string> written;
  try {
    Surface before;
    if (n > 0) before = FrameOf(replay, n - 1, media, pictures);
    if (!result.shown.Empty()) {
      written.push_back(Beside(path, ".frame-" + std::to_string(n) + "-shown"));
      write(written.back(), result.shown);
    }
    if (!before.Empty()) {
      written.push_back(Beside(path, ".frame-" + std::to_string(n - 1) + "-matched"));
      write(written.back(), before);
    }
    if (!result.shown.Empty() && !before.Empty()) {
      written.push_back(Beside(path, ".frame-" + std::to_string(n) + "-difference"));
      write(written.back(), Difference(result.shown, before));
    }
  } catch (const FatalError& e) {
    Complain(std::string("cannot leave the frames beside the replay: ") + e.what());
    return;
  }
  if (!written.empty()) Complain("the frames are beside the replay: " + Joined(written));
}

}  // namespace

ReplaySession::ReplaySession(const Replay& replay, Media& media, PictureReader& pictures,
                             const ReplayShowing& showing,
                             std::function<void(uint64_t, const Scene&)> onFrame)
    : replay_(replay),
      onFrame_(std::move(onFrame)),
      played_(replay, media, pictures, showing),
      app_(played_.platform) {
  played_.feed.onFrame = [this](uint64_t frame, const Scene& scene) {
    // The frame that differed, kept as it was shown.
    const auto& divergence = played_.feed.Divergence();
    if (divergence && divergence->frame == frame && scene.canvas != nullptr) shown_ = *scene.canvas;
    if (onFrame_) onFrame_(frame, scene);
  };
  PrepareTitle(app_, {replay.header.calm, replay.header.flashLimitOff});
}

ReplayResult ReplaySession::Result() const {
  ReplayResult result;
  const ReplayFeed& feed = played_.feed;
  result.framesShown = feed.FramesShown();
  result.framesChecked = feed.FramesChecked();
  result.framesInReplay = replay_.frames;
  result.checkedInReplay = replay_.checkedFrames;
  result.stopped = feed.Stopped() && !feed.Divergence();
  result.divergence = feed.Divergence();
  result.shown = shown_;
  return result;
}

ReplayResult PlayReplay(const Replay& replay, Media& media, PictureReader& pictures,
                        const ReplayShowing& showing,
                        const std::function<void(uint64_t, const Scene&)>& onFrame) {
  ReplaySession session(replay, media, pictures, showing, onFrame);
  Main(session.Program());
  return session.Result();
}

std::string CheckedLine(const std::string& path, const ReplayResult& r) {
  std::string how = "every one as recorded";
  if (r.stopped)
    how = "stopped at frame " + std::to_string(r.framesShown) + " of " +
          std::to_string(r.framesInReplay) + ", every frame before as recorded";
  else if (r.checkedInReplay < r.framesInReplay)
    how = "the last " + std::to_string(r.checkedInReplay) + " of its " +
          std::to_string(r.framesInReplay) + " frames, every one as recorded";
  return "checked " + std::to_string(r.framesChecked) + " frames of " + path + ": " + how;
}

std::vector<std::string> DivergenceSentences(const std::string& path, const ReplayDivergence& d) {
  return {path + " went another way at frame " + std::to_string(d.frame) + ": " + d.what,
          d.lastInputs.empty() ? "no input came before it"
                               : "the last inputs before it: " + Joined(d.lastInputs)};
}

int ReportReplay(const std::string& path, const Replay& replay, const ReplayResult& result,
                 std::FILE* out, const PictureWriter& write, Media& media,
                 PictureReader& pictures) {
  if (!result.divergence) {
    std::fprintf(out, "%s\n", CheckedLine(path, result).c_str());
    return 0;
  }
  for (const std::string& sentence : DivergenceSentences(path, *result.divergence))
    Complain(sentence);
  if (write) WritePictures(path, result, replay, write, media, pictures);
  return 1;
}

int PlayReplayFile(const std::string& path, Media& media, PictureReader& pictures,
                   const ReplayShowing& showing, const PictureWriter& write) {
  Replay replay;
  try {
    replay = LoadReplay(path);
  } catch (const ReplayError& e) {
    Complain(e.what());
    return 2;
  }
  try {
    const ReplayResult result = PlayReplay(replay, media, pictures, showing);
    return ReportReplay(path, replay, result, stdout, write, media, pictures);
  } catch (const FatalError& e) {
    Complain(e.what());
    return 1;
  }
}

}  // namespace ombrevale
