#pragma once

// Playing a replay through the whole program, checked frame by frame, and saying how it went:
// how many frames were as recorded, or at which frame the session went another way, after which
// inputs, with pictures of that frame beside the replay.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/ReplayedServices.h"

namespace ombrevale {

struct ReplayResult {
  uint64_t framesShown = 0, framesChecked = 0, framesInReplay = 0, checkedInReplay = 0;
  bool stopped = false;  // the viewer closed the window first
  std::optional<ReplayDivergence> divergence;
  Surface shown;  // the canvas of the frame that differed, as shown
};

// A replay being played through the whole program, on `media` and `pictures`, shown as `showing`
// says; `onFrame` sees every frame shown. Main runs its program to the replay's end or the first
// thing that is not as recorded; a desktop whose own event loop runs the passes (the page) runs
// them one at a time, each when NextPassDue says. A fatal error that ended the session (an
// unreadable picture) ends the replay the same way: it is thrown.
class ReplaySession {
 public:
  ReplaySession(const Replay& replay, Media& media, PictureReader& pictures,
                const ReplayShowing& showing,
                std::function<void(uint64_t, const Scene&)> onFrame = {});
  ReplaySession(const ReplaySession&) = delete;
  ReplaySession& operator=(const ReplaySession&) = delete;

  App& Program() { return app_; }
  // The desktop clock's reading at which the next pass is to begin, at the session's pace;
  // nothing where it plays as fast as it can. Asked once before each pass.
  std::optional<uint32_t> NextPassDue() { return played_.desktop.NextPassDue(); }
  // Whether the frames shown now are those before the first checked one, played unshown.
  bool FastForwarding() const { return played_.feed.FastForwarding(); }
  // How it went, once the program's window closed.
  ReplayResult Result() const;

 private:
  const Replay& replay_;
  std::function<void(uint64_t, const Scene&)> onFrame_;
  ReplayedPlatform played_;
  Surface shown_;  // the canvas of the frame that differed, as shown
  App app_;
};

// Plays `replay` on `media` and `pictures`, shown as `showing` says, until its end or the first
// thing that is not as recorded (a ReplaySession run by Main).
ReplayResult PlayReplay(const Replay& replay, Media& media, PictureReader& pictures,
                        const ReplayShowing& showing,
                        const std::function<void(uint64_t, const Scene&)>& onFrame = {});

// Writes a picture to a file, or throws FatalError: the desktop's or the tool's PNG writer.
using PictureWriter = std::function<void(const std::string& path, const Surface& picture)>;

// The line said for a replay that played as recorded: "checked 602 frames of PATH: every one as
// recorded", or how many of how many where it was stopped or checked only in part.
std::string CheckedLine(const std::string& path, const ReplayResult& result);
// The sentences said for one that went another way: at which frame and how, and the inputs
// before it.
std::vector<std::string> DivergenceSentences(const std::string& path,
                                             const ReplayDivergence& divergence);

// Says how the replay at `path` played: on `out`, how many frames were checked, for a replay
// that played as recorded (status 0); on stderr, where it went another way and after which inputs
// (status 1). Then, with `write`, leaves beside the replay the frame as shown, the last frame that
// matched (drawn again by playing the replay to it, as fast as can be, on `media` and
// `pictures`), and where the two differ, and says where they are.
int ReportReplay(const std::string& path, const Replay& replay, const ReplayResult& result,
                 std::FILE* out, const PictureWriter& write, Media& media, PictureReader& pictures);

// The replay at `path` read, played as `showing` says on `media` and `pictures`, and said how it
// went as ReportReplay says it. Returns the exit status: 0 when every frame was as recorded, 1 when
// one was not or the session's fatal error came again (said), 2 when the file cannot be played
// (said in one sentence).
int PlayReplayFile(const std::string& path, Media& media, PictureReader& pictures,
                   const ReplayShowing& showing, const PictureWriter& write);

}  // namespace ombrevale
