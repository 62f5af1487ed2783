#include "platform/sdl/SdlDesktop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/FatalError.h"
#include "platform/sdl/ModalBox.h"
#include "platform/sdl/RendererChoice.h"
#include "platform/sdl/SdlVideo.h"

namespace ombrevale {
namespace {

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
  int unloads = 0;
  void KeyDown(int16_t& keyCode, int16_t shift) override { keys.emplace_back(keyCode, shift); }
  void MenuClick(int entry) override { clicks.push_back(entry); }
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

TEST(SdlVideoTest, RefusesWithOneSentenceWhereThereIsNoDesktop) {
  EnvVar noDriver("SDL_VIDEODRIVER", nullptr);
  EnvVar noWayland("WAYLAND_DISPLAY", nullptr);
  {
    EnvVar noDisplay("DISPLAY", nullptr);
    try {
      SdlVideo video;
      FAIL() << "started without a desktop";
    } catch (const NoDesktopError& e) {
      EXPECT_STREQ(e.what(),
                   "Ombrevale needs a desktop session to open its window: start it from a "
                   "graphical desktop, or under Xvfb (xvfb-run build/ombrevale).");
    }
  }
  {
    // A display that nothing answers: SDL would quietly fall back to drawing off screen.
    EnvVar deadDisplay("DISPLAY", ":4242");
    try {
      SdlVideo video;
      FAIL() << "started on a display nobody serves";
    } catch (const NoDesktopError& e) {
      EXPECT_NE(std::string(e.what()).find("\":4242\""), std::string::npos) << e.what();
    }
  }
}

TEST(SdlVideoTest, ADriverTheUserChoseButSdlLacksIsAFatalError) {
  EnvVar driver("SDL_VIDEODRIVER", "no-such-driver");
  EXPECT_THROW(SdlVideo video, FatalError);
}

TEST_F(SdlDesktopTest, GeometryInTwipsReadsBackTheWindowItIs) {
  // The dummy display is 1024 x 768.
  EXPECT_EQ(desktop_.ScreenWidth(), 1024 * 15.0f);
  EXPECT_EQ(desktop_.ScreenHeight(), 768 * 15.0f);
  // Natural size: one page and the menu strip; a size set is only a request.
  EXPECT_EQ(desktop_.WindowWidth(), 404 * 15.0f);
  EXPECT_EQ(desktop_.WindowHeight(), 324 * 15.0f);
  desktop_.SetWindowSize(6130, 5210);
  EXPECT_EQ(desktop_.WindowWidth(), 6060.0f);
  EXPECT_EQ(desktop_.WindowHeight(), 4860.0f);

  int x = 0, y = 0;
  desktop_.SetWindowPosition(4650, 3330);
  SDL_GetWindowPosition(desktop_.Window(), &x, &y);
  EXPECT_EQ(x, 310);
  EXPECT_EQ(y, 222);
  desktop_.SetWindowPosition(4657.4f, 3337.6f);  // 310.49, 222.51 pixels: to the nearest
  SDL_GetWindowPosition(desktop_.Window(), &x, &y);
  EXPECT_EQ(x, 310);
  EXPECT_EQ(y, 223);
  desktop_.SetWindowPosition(-150, -45);  // a screen smaller than the window: nothing clamps
  SDL_GetWindowPosition(desktop_.Window(), &x, &y);
  EXPECT_EQ(x, -10);
  EXPECT_EQ(y, -3);

  desktop_.SetCaption("Ombrevale 0.13");
  EXPECT_STREQ(SDL_GetWindowTitle(desktop_.Window()), "Ombrevale 0.13");
  EXPECT_EQ(SDL_GetWindowFlags(desktop_.Window()) & SDL_WINDOW_HIDDEN, SDL_WINDOW_HIDDEN);
  desktop_.ShowWindow();
  EXPECT_EQ(SDL_GetWindowFlags(desktop_.Window()) & SDL_WINDOW_HIDDEN, 0u);
}

TEST_F(SdlDesktopTest, PresentsMenuStripChromeCanvasAndLabel) {
  const Pixel blue = Rgb(0, 0, 64), red = Rgb(255, 0, 0), pink = Rgb(255, 128, 128);
  Surface chrome(404, 304, blue);
  Surface canvas(400, 300, 0);
  canvas.Set(10, 20, red);
  Label label;
  label.Caption = "2028/12/07 16:38:40";
  label.ForeColor = pink;
  label.Face = {"ＭＳ Ｐゴシック", 12, true};
  Scene scene{&chrome, 1, &canvas, 2, 2, {LabelView{&label, 226, 282, 169, 25}}};
  desktop_.SetMenu({"Version"});
  desktop_.Present(scene);

  EXPECT_EQ(ScreenAt(300, 5), Rgb(212, 208, 200)) << "the menu strip";
  EXPECT_EQ(ScreenAt(2 + 10, 20 + 2 + 20), red) << "the canvas below the strip, inside the frame";
  EXPECT_EQ(ScreenAt(2 + 11, 20 + 2 + 20), 0u);
  EXPECT_EQ(ScreenAt(1, 20 + 1), blue) << "the chrome around the canvas";
  EXPECT_EQ(ScreenAt(403, 323), blue);
  // The clock stays on one line, and its last digit stays whole: the stand-in face is 171 pixels
  // wide here, two more than the box, and the text runs on past the box up to the page's edge.
  EXPECT_TRUE(PinkIn(226, 20 + 282, 40, 20)) << "the date";
  EXPECT_TRUE(PinkIn(226 + 140, 20 + 282, 29, 20)) << "the time, on the same line";
  EXPECT_TRUE(PinkIn(226 + 169, 20 + 282, 2, 20)) << "the last digit, past the box";
  EXPECT_FALSE(PinkIn(226 + 172, 20 + 282, 404 - 226 - 172, 22)) << "past the text";

  // The chrome is uploaded again only when its revision says it changed.
  chrome.Fill(Rgb(0, 64, 0));
  desktop_.Present(scene);
  EXPECT_EQ(ScreenAt(1, 20 + 1), blue);
  scene.chromeRevision = 2;
  desktop_.Present(scene);
  EXPECT_EQ(ScreenAt(1, 20 + 1), Rgb(0, 64, 0));

  // Where the canvas no longer lies, the chrome shows again.
  scene.canvasX = 100;
  desktop_.Present(scene);
  EXPECT_EQ(ScreenAt(2 + 10, 20 + 2 + 20), Rgb(0, 64, 0));
  EXPECT_EQ(ScreenAt(100 + 10, 20 + 2 + 20), red);
  scene.canvas = nullptr;
  desktop_.Present(scene);
  EXPECT_EQ(ScreenAt(100 + 10, 20 + 2 + 20), Rgb(0, 64, 0));

  // A changed caption is drawn anew; an empty one draws nothing.
  label.Caption = "";
  desktop_.Present(scene);
  EXPECT_FALSE(PinkIn(226, 20 + 282, 169, 25));
  label.Caption = "ver 0.13\r\nBurst";  // "\r\n" breaks the line
  desktop_.Present(scene);
  EXPECT_TRUE(PinkIn(226, 20 + 282 + 16, 40, 8)) << "the second line";
}

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

// How many milliseconds past `due` the clock read when WaitEvents returned, for waits of `ms`.
std::vector<int32_t> Lateness(SdlDesktop& desktop, Clock& clock, int waits, uint32_t ms) {
  std::vector<int32_t> late;
  for (int i = 0; i < waits; ++i) {
    const uint32_t due = clock.timeGetTime() + ms;
    desktop.WaitEvents(due);
    late.push_back(static_cast<int32_t>(clock.timeGetTime() - due));
  }
  return late;
}

TEST_F(SdlDesktopTest, WaitEventsReturnsAsTheClockTurnsToDue) {
  std::vector<int32_t> late = Lateness(desktop_, clock_, 9, 7);
  // Never early. By design never a millisecond late either, but a machine busy with other work
  // may take the thread away at any moment, so only the best of the waits is held to that: the
  // precise sleep must be able to end on the due millisecond at all.
  for (int32_t l : late) EXPECT_GE(l, 0);
  EXPECT_EQ(*std::min_element(late.begin(), late.end()), 0)
      << "no wait ended on the due millisecond";
}

TEST_F(SdlDesktopTest, WaitEventsCountsAcrossTheClockWrap) {
  // Just before the 32-bit count wraps, a due time 30 ms on reads as a small number.
  ShiftedClock clock;
  SdlDesktop desktop(clock);
  clock.Place(0xFFFFFFF0u);
  const uint32_t before = clock.timeGetTime();
  const uint32_t due = before + 30;
  ASSERT_LT(due, before) << "the due time lies past the wrap";
  desktop.WaitEvents(due);
  const int32_t late = static_cast<int32_t>(clock.timeGetTime() - due);
  EXPECT_GE(late, 0) << "it waited for the wrapped due time";
  EXPECT_LT(late, 30) << "it did not wait for a due time a whole count away";

  // A due time already past (before the wrap, seen from after it) returns at once.
  const uint32_t now = clock.timeGetTime();
  desktop.WaitEvents(before);
  desktop.WaitEvents(now - 1);
  desktop.WaitEvents(now - 0x7FFFFFFF);
  EXPECT_LT(clock.timeGetTime() - now, 30u) << "a due time already past returns at once";
}

TEST_F(SdlDesktopTest, WaitEventsWakesForAnEvent) {
  PushKey(SDLK_x, KMOD_NONE);
  const uint32_t before = clock_.timeGetTime();
  desktop_.WaitEvents(before + 60'000);
  EXPECT_LT(clock_.timeGetTime() - before, 30'000u) << "it did not wait for the due time";
  desktop_.WaitEvents(std::nullopt);  // an event is pending: returns
  Recorder events;
  desktop_.PumpEvents(events);
  EXPECT_EQ(events.keys.size(), 1u) << "waiting takes no event away";
}

TEST_F(SdlDesktopTest, TheBoxClosesOnOkAloneAndKeepsTheInputMeantForThePage) {
  desktop_.SetMenu({"Version"});
  Recorder events;
  // Return, Space, Escape and Enter each press OK; the keys and clicks before them are the box's.
  for (SDL_Keycode ok : {SDLK_RETURN, SDLK_SPACE, SDLK_ESCAPE, SDLK_KP_ENTER}) {
    PushKey(SDLK_x, KMOD_NONE);
    PushMouse(SDL_MOUSEBUTTONDOWN, 20, 10);  // on "Version": no second box
    PushMouse(SDL_MOUSEBUTTONUP, 20, 10);
    PushKey(ok, KMOD_NONE);
    PushKey(SDLK_a, KMOD_NONE);  // after the box: the page's
    desktop_.MessageBox("Ombrevale", "ver 0.13\r\nmade by\r\n2002/5/28");
    desktop_.PumpEvents(events);
    EXPECT_EQ(events.keys, (std::vector<std::pair<int, int>>{{65, 0}})) << "OK key " << ok;
    EXPECT_TRUE(events.clicks.empty());
    events.keys.clear();
  }

  // A click is a press and a release on the button; a press that leaves it does nothing.
  ClientFrame frame;
  Fonts fonts;
  ModalBox layout(frame, fonts);
  layout.Open("Ombrevale", "ver 0.13\r\nmade by\r\n2002/5/28");
  const Rect ok = layout.Button();
  PushMouse(SDL_MOUSEBUTTONDOWN, ok.x + 5, ok.y + 5);
  PushMouse(SDL_MOUSEBUTTONUP, ok.x - 5, ok.y + 5);
  PushMouse(SDL_MOUSEBUTTONDOWN, ok.x + 5, ok.y + 5);
  PushMouse(SDL_MOUSEBUTTONUP, ok.x + 6, ok.y + 6);
  PushKey(SDLK_b, KMOD_NONE);
  desktop_.MessageBox("Ombrevale", "ver 0.13\r\nmade by\r\n2002/5/28");
  desktop_.PumpEvents(events);
  EXPECT_EQ(events.keys, (std::vector<std::pair<int, int>>{{66, 0}}));
  EXPECT_EQ(events.unloads, 0);
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

TEST_F(SdlDesktopTest, TheBoxIsDrawnCentredOnThePageInTheMenusLook) {
  ClientFrame frame;
  Fonts fonts;
  ModalBox box(frame, fonts);
  box.Open("Ombrevale", "ver 0.13\r\nmade by the Ombrevale team\r\n2002/5/28");
  box.Draw();
  const Surface shown = frame.Read();
  const Rect b = box.Bounds();
  EXPECT_LE(std::abs((b.x + b.w / 2) - kPageWidth / 2), 1);
  EXPECT_LE(std::abs((b.y + b.h / 2) - (kMenuHeight + kPageHeight / 2)), 1);
  EXPECT_EQ(shown.At(b.x + b.w / 2, b.y + 5), Rgb(0, 0, 128)) << "the title bar";
  EXPECT_EQ(shown.At(b.x + 3, b.y + b.h - 4), Rgb(212, 208, 200)) << "the face";
  // Three lines of text: dark pixels on three separate rows of the face, none at the title.
  int textRows = 0;
  bool inRow = false;
  for (int y = b.y + 22; y < box.Button().y - 2; ++y) {
    bool dark = false;
    for (int x = b.x + 4; x < b.x + b.w - 4; ++x) dark |= (shown.At(x, y) & 0xFF) < 100;
    if (dark && !inRow) ++textRows;
    inRow = dark;
  }
  EXPECT_EQ(textRows, 3);
  EXPECT_EQ(box.Button().w, 75);
  EXPECT_LE(std::abs((box.Button().x + 37) - kPageWidth / 2), 1);
}

TEST(RendererChoiceTest, TheCardOnlyWhereOpenGlRunsOnIt) {
  EXPECT_TRUE(IsSoftwareRasteriser("llvmpipe (LLVM 15.0.6, 256 bits)"));
  EXPECT_TRUE(IsSoftwareRasteriser("softpipe"));
  EXPECT_TRUE(IsSoftwareRasteriser("Mesa X11 swrast"));
  EXPECT_TRUE(IsSoftwareRasteriser("Software Rasterizer"));
  EXPECT_FALSE(IsSoftwareRasteriser("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
  EXPECT_FALSE(IsSoftwareRasteriser("NVIDIA GeForce RTX 3060/PCIe/SSE2"));
  EXPECT_FALSE(IsSoftwareRasteriser("AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49)"));

  using enum Drawing;
  EXPECT_EQ(ChooseDrawing({"software", true, true}), Software) << "the user's choice wins";
  EXPECT_EQ(ChooseDrawing({"opengl", false, false}), Accelerated);
  EXPECT_EQ(ChooseDrawing({std::nullopt, true, true}), AskOpenGl);
  EXPECT_EQ(ChooseDrawing({std::nullopt, true, false}), Software) << "no device: no GL loaded";
  EXPECT_EQ(ChooseDrawing({std::nullopt, false, true}), Software) << "SDL's dummy driver";
}

TEST_F(SdlDesktopTest, DrawsInSoftwareWhereThereIsNoCard) {
  EXPECT_EQ(desktop_.DrawingName(), "software");
}

}  // namespace
}  // namespace ombrevale
