#pragma once

#include <string>
#include <vector>

#include "app/App.h"
#include "backends/headless/Headless.h"
#include "backends/headless/RecordingMedia.h"

namespace ombrevale::world {

// The headless backend's services, for a system to be built on.
struct Ground {
  FakeClock clock;
  ScriptedRandom random;
  HeadlessDesktop desktop{clock};
  RecordingMedia media;
  MemoryPictureReader pictures;
  Platform platform{clock, random, desktop, media, pictures};
};

// A whole system on the headless backend.
struct World : Ground {
  App app{platform};
};

}  // namespace ombrevale::world
