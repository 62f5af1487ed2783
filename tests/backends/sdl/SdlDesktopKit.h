#pragma once

// What the tests of the SDL desktop share: the window on SDL's dummy video driver (a real SDL
// window and software renderer, drawn in memory), events pushed as the desktop would send them,
// a recorder of what reaches the window, and a clock that can be put just before its wrap.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "backends/sdl/window/SdlDesktop.h"
#include "backends/sdl/window/SdlVideo.h"

namespace ombrevale {

// Sets an environment variable for the life of a test, then puts back what was there.
class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~EnvVar() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// The system clock moved by a whole number of milliseconds: it turns at the same instants, and
// can be put just before the 32-bit wrap.
class ShiftedClock final : public Clock {
 public:
  uint32_t timeGetTime() override { return base_.timeGetTime() + shift_; }
  std::string DateTimeText() override { return base_.DateTimeText(); }
  // From now on the clock reads `reading`, and counts on from there.
  void Place(uint32_t reading) { shift_ = reading - base_.timeGetTime(); }

 private:
  SystemClock base_;
  uint32_t shift_ = 0;
};

struct Recorder final : WindowEvents {
  std::vector<std::pair<int, int>> keys;
  std::vector<int> clicks;
  int prompts = 0;
  int unloads = 0;
  void KeyDown(int16_t& keyCode, int16_t shift) override { keys.emplace_back(keyCode, shift); }
  void MenuClick(int entry) override { clicks.push_back(entry); }
  void PromptClick() override { ++prompts; }
  void Unload() override { ++unloads; }
  bool Ended() const override { return unloads > 0; }
};

class SdlDesktopTest : public testing::Test {
 protected:
  // SDL's dummy driver: a real SDL window and software renderer, drawn in memory.
  EnvVar driver_{"SDL_VIDEODRIVER", "dummy"};
  SdlVideo video_;
  SystemClock clock_;
  SdlDesktop desktop_{clock_};

  void SetUp() override { SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT); }

  // A pixel of what the window shows: its own memory, as the frame went to the screen.
  Pixel ScreenAt(int x, int y) {
    const SDL_Surface* screen = SDL_GetWindowSurface(desktop_.Window());
    EXPECT_NE(screen, nullptr) << SDL_GetError();
    if (screen == nullptr || x < 0 || y < 0 || x >= screen->w || y >= screen->h) return 0;
    const auto* row =
        static_cast<const uint8_t*>(screen->pixels) + static_cast<size_t>(y) * screen->pitch;
    return reinterpret_cast<const Pixel*>(row)[x] & 0xFFFFFF;
  }

  // Whether any pixel of the window rectangle has the label's pink in it (a blend of pink over
  // black keeps red well above green and blue).
  bool PinkIn(int x0, int y0, int w, int h) {
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) {
        const Pixel p = ScreenAt(x, y);
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF;
        if (r > 120 && r > g + 40) return true;
      }
    return false;
  }

  static void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }
  static void PushMouse(Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_MOUSEMOTION) {
      e.motion.x = x, e.motion.y = y;
    } else {
      e.button.button = SDL_BUTTON_LEFT;
      e.button.x = x, e.button.y = y;
    }
    Push(e);
  }
  static void PushWindowEvent(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    Push(e);
  }
  static void PushQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    Push(e);
  }
  static void PushKey(SDL_Keycode key, Uint16 mod) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    Push(e);
  }
};

}  // namespace ombrevale
