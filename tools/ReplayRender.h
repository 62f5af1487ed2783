#pragma once

// A replay played by the renderer: without a screen, as fast as the machine allows, every frame
// checked as the program checks it; each frame, when asked for, as the window showed it (the
// canvas with its label drawn by the window's own fonts).

#include <functional>
#include <string>

#include "platform/Surface.h"

namespace ombrevale {

struct ReplayRenderOptions {
  // Hands on each frame shown, the frames played unchecked included, with its number; none: the
  // frames are only checked, the fastest.
  std::function<void(int index, const Surface& frame)> frame;
};

// Plays the replay at `path` from the pictures of dat/ and says how it went, as the program's
// --replay says it, leaving the frame that differed beside the replay. Returns the exit status:
// 0 when every frame checked was as recorded, 1 when one was not (or the session's fatal error
// came again), 2 when the file cannot be played.
int RenderReplay(const std::string& path, const ReplayRenderOptions& options);

// The largest scale the replay's session was shown at (1 when it never said): where its flashes
// are the most.
double LargestShownScale(const std::string& path);

}  // namespace ombrevale
