#pragma once

// A chart of a run's flashes, for a reader to see when the vision goes over the limit: the
// flashes in the second up to each frame, general and red, over the run's time, with the
// threshold as a dashed line; axes with ticks, and text drawn with SDL_ttf in the system's sans.

#include <string>

#include "platform/Surface.h"
#include "platform/flash/FlashTally.h"

namespace ombrevale {

// The chart of `tally`'s run, `title` above it. Where no font can be opened the chart is drawn
// without its text (said once on stderr).
Surface DrawFlashPlot(const FlashTally& tally, const std::string& title);

}  // namespace ombrevale
