#pragma once

#include <string>
#include <vector>

#include "app/App.h"
#include "platform/headless/Headless.h"

namespace ombrevale::world {

// A media service that only writes down what it was asked, answering success.
class CommandLog final : public Media {
 public:
  int32_t mciSendStringA(std::string_view command, char*, uint32_t, uintptr_t) override {
    calls.emplace_back(command);
    return 0;
  }
  bool sndPlaySoundA(std::string_view name, uint32_t flags) override {
    calls.push_back("wave \"" + std::string(name) + "\" " + std::to_string(flags));
    return true;
  }
  std::vector<std::string> calls;
};

// A whole system on the headless backend.
struct World {
  FakeClock clock;
  ScriptedRandom random;
  HeadlessDesktop desktop{clock};
  CommandLog media;
  MemoryPictureReader pictures;
  Platform platform{clock, random, desktop, media, pictures};
  App app{platform};
};

}  // namespace ombrevale::world
