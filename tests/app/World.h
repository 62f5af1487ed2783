#pragma once

#include <string>
#include <vector>

#include "app/App.h"
#include "backends/headless/Headless.h"
#include "backends/headless/RecordingMedia.h"

namespace ombrevale::world {

// A whole system on the headless backend.
struct World {
  FakeClock clock;
  ScriptedRandom random;
  HeadlessDesktop desktop{clock};
  RecordingMedia media;
  MemoryPictureReader pictures;
  Platform platform{clock, random, desktop, media, pictures};
  App app{platform};
};

}  // namespace ombrevale::world
