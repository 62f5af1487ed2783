// The window's events delivered to the page: keys, menu clicks, the close, and a close or a signal
// while the box is open.

#include <gtest/gtest.h>

#include "tests/backends/sdl/SdlDesktopKit.h"

namespace ombrevale {
namespace {

TEST_F(SdlDesktopTest, DeliversKeysMenuClicksAndTheClose) {
  desktop_.SetMenu({"Version"});
  Recorder events;
  PushKey(SDLK_x, KMOD_NONE);
  PushKey(SDLK_x, KMOD_LSHIFT | KMOD_RCTRL);
  PushKey(SDLK_POWER, KMOD_NONE);  // no classic code: not delivered
  PushKey(SDLK_KP_ENTER, KMOD_NONE);
  desktop_.PumpEvents(events);
  EXPECT_EQ(events.keys, (std::vector<std::pair<int, int>>{{88, 0}, {88, 3}, {13, 0}}));

  // A click is a press and a release on the same entry.
  PushMouse(SDL_MOUSEMOTION, 20, 10);
  PushMouse(SDL_MOUSEBUTTONDOWN, 20, 10);
  PushMouse(SDL_MOUSEBUTTONUP, 21, 9);
  PushMouse(SDL_MOUSEBUTTONDOWN, 20, 10);  // pressed on the entry, released off it
  PushMouse(SDL_MOUSEBUTTONUP, 200, 10);
  PushMouse(SDL_MOUSEBUTTONDOWN, 200, 10);  // the empty strip and the page take no clicks
  PushMouse(SDL_MOUSEBUTTONUP, 20, 10);
  PushMouse(SDL_MOUSEBUTTONDOWN, 20, 100);
  PushMouse(SDL_MOUSEBUTTONUP, 20, 100);
  PushMouse(SDL_MOUSEBUTTONDOWN, -5, 10);  // the border around a scaled window
  PushMouse(SDL_MOUSEBUTTONUP, -5, 10);
  PushKey(SDLK_v, KMOD_LALT);  // the menu's access key
  desktop_.PumpEvents(events);
  EXPECT_EQ(events.clicks, (std::vector<int>{0, 0}));
  EXPECT_EQ(events.keys.size(), 3u) << "Alt+V went to the menu, not to the key handler";

  // Closing unloads once and ends the delivery: what follows stays undelivered.
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  Push(quit);
  PushKey(SDLK_a, KMOD_NONE);
  desktop_.PumpEvents(events);
  EXPECT_EQ(events.unloads, 1);
  EXPECT_EQ(events.keys.size(), 3u);
  desktop_.PumpEvents(events);
  EXPECT_EQ(events.unloads, 1);
}

TEST_F(SdlDesktopTest, ACloseWaitsForTheBoxButASignalToEndClosesItAtOnce) {
  Recorder events;
  // A window manager's close: a close event, then SDL's quit. The box stays open for Return.
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  PushQuit();
  PushKey(SDLK_RETURN, KMOD_NONE);
  PushKey(SDLK_a, KMOD_NONE);
  desktop_.MessageBox("Ombrevale", "text");
  desktop_.PumpEvents(events);
  EXPECT_EQ(events.unloads, 1) << "the close took effect as the box closed";
  EXPECT_TRUE(events.keys.empty()) << "Return was the box's, and nothing follows the close";

  // SIGTERM or SIGINT: SDL's quit alone. The box closes without waiting for OK.
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  Recorder ended;
  PushQuit();
  PushKey(SDLK_RETURN, KMOD_NONE);
  desktop_.MessageBox("Ombrevale", "text");
  desktop_.PumpEvents(ended);
  EXPECT_EQ(ended.unloads, 1);
  EXPECT_TRUE(ended.keys.empty());
}

}  // namespace
}  // namespace ombrevale
