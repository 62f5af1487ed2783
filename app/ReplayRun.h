#pragma once

// Playing a replay through the whole program, checked frame by frame, and saying how it went:
// how many frames were as recorded, or at which frame the session went another way, after which
// inputs, with pictures of that frame beside the replay.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "app/ReplayedServices.h"

namespace ombrevale {

struct ReplayResult {
  uint64_t framesShown = 0, framesChecked = 0, framesInReplay = 0, checkedInReplay = 0;
  bool stopped = false;  // the viewer closed the window first
  std::optional<ReplayDivergence> divergence;
  Surface shown;  // the canvas of the frame that differed, as shown
};

// Plays `replay` on `media` and `pictures`, shown as `showing` says, until its end or the first
// thing that is not as recorded; `onFrame` sees every frame shown. A fatal error that ended the
// session (an unreadable picture) ends the replay the same way: it is thrown.
ReplayResult PlayReplay(const Replay& replay, Media& media, PictureReader& pictures,
                        const ReplayShowing& showing,
                        const std::function<void(uint64_t, const Scene&)>& onFrame = {});

// Writes a picture to a file, or throws FatalError: the desktop's or the tool's PNG writer.
using PictureWriter = std::function<void(const std::string& path, const Surface& picture)>;

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
