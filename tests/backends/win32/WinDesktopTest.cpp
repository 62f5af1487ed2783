#include "backends/win32/WinDesktop.h"

#include <gtest/gtest.h>

#include <vector>

#include "backends/win32/GdiColour.h"
#include "backends/win32/WinClock.h"
#include "platform/PageLayout.h"

namespace ombrevale {
namespace {

// The window's handlers, recording what reaches them.
struct Recorder final : WindowEvents {
  void KeyDown(int16_t& keyCode, int16_t shift) override {
    keys.push_back(keyCode);
    shifts.push_back(shift);
  }
  void MenuClick(int entry) override { menus.push_back(entry); }
  void PromptClick() override { ++prompts; }
  void Unload() override { ended = true; }
  bool Ended() const override { return ended; }
  std::vector<int> keys, shifts, menus;
  int prompts = 0;
  bool ended = false;
};

RECT ClientOf(const WinDesktop& desktop) {
  RECT client{};
  GetClientRect(desktop.Window(), &client);
  return client;
}

// The page's factor is 1 here, whatever the desktop's scale, unless a test asks for another.
class WinDesktopTest : public ::testing::Test {
 protected:
  WinClock clock_;
  WinDesktop desktop_{clock_, 1};
};

TEST_F(WinDesktopTest, TheClientAreaIsOnePageAtItsFactorAndTheWindowIsPlacedInItsTwips) {
  for (const int n : {1, 2}) {
    WinDesktop desktop(clock_, n);
    desktop.SetMenu({"Version"});
    desktop.SetCaption("Ombrevale 1.0");
    EXPECT_EQ(desktop.PageScale(), n);
    const RECT client = ClientOf(desktop);
    EXPECT_EQ(client.right, n * kPageWidth);
    EXPECT_EQ(client.bottom, n * kPageHeight);

    wchar_t text[32] = {};
    GetMenuStringW(GetMenu(desktop.Window()), 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Version");
    GetWindowTextW(desktop.Window(), text, 32);
    EXPECT_STREQ(text, L"Ombrevale 1.0");

    // Twips are 15 / n to a pixel: the layout's twips come out n times larger.
    const float twips = 15.0f / n;
    RECT outer{};
    GetWindowRect(desktop.Window(), &outer);
    EXPECT_FLOAT_EQ(desktop.WindowWidth(), (outer.right - outer.left) * twips);
    EXPECT_FLOAT_EQ(desktop.ScreenWidth(), GetSystemMetrics(SM_CXSCREEN) * twips);
    // 307.67, 210.33 pixels at 1x and 615.33, 420.67 at 2x: whole pixels towards zero.
    desktop.SetWindowPosition(4615, 3155);
    GetWindowRect(desktop.Window(), &outer);
    EXPECT_EQ(outer.left, n == 1 ? 307 : 615);
    EXPECT_EQ(outer.top, n == 1 ? 210 : 420);
  }
}

TEST_F(WinDesktopTest, ADensityChangeGivesThePageTheNewFactorUnlessThePlayerAskedForOne) {
  WinDesktop desktop(clock_);
  desktop.SetMenu({"Version"});
  RECT suggested{40, 30, 900, 700};
  // 144 dots per inch is a scale of 1.5: twice the page, as the nearest whole factor, halves up.
  SendMessageW(desktop.Window(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(desktop.PageScale(), 2);
  RECT client = ClientOf(desktop), outer{};
  EXPECT_EQ(client.right, 2 * kPageWidth);
  EXPECT_EQ(client.bottom, 2 * kPageHeight);
  GetWindowRect(desktop.Window(), &outer);
  EXPECT_EQ(outer.left, 40);
  EXPECT_EQ(outer.top, 30);
  EXPECT_EQ(desktop.Page().Factor(), 2);
  EXPECT_FLOAT_EQ(desktop.WindowWidth(), (outer.right - outer.left) * 7.5f);
  // A canvas pixel is seen as two of the screen's pixels at 144 dots per inch: 2 x 96 / 144.
  EXPECT_DOUBLE_EQ(desktop.ShownScale(), 2 * 96.0 / 144);
  // 120 is a scale of 1.25: the page at its natural size again.
  SendMessageW(desktop.Window(), WM_DPICHANGED, MAKEWPARAM(120, 120),
               reinterpret_cast<LPARAM>(&suggested));
  client = ClientOf(desktop);
  EXPECT_EQ(client.right, kPageWidth);
  EXPECT_EQ(desktop.Page().Factor(), 1);
  EXPECT_DOUBLE_EQ(desktop.ShownScale(), 96.0 / 120);

  // --scale 3 holds whatever the density.
  WinDesktop asked(clock_, 3);
  asked.SetMenu({"Version"});
  SendMessageW(asked.Window(), WM_DPICHANGED, MAKEWPARAM(192, 192),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(asked.PageScale(), 3);
  EXPECT_EQ(ClientOf(asked).right, 3 * kPageWidth);
  EXPECT_DOUBLE_EQ(asked.ShownScale(), 3 * 96.0 / 192);
}

TEST_F(WinDesktopTest, ALargerWindowShowsThePageByWholeFactorsNeverBelowItsOwn) {
  desktop_.SetMenu({"Version"});
  desktop_.ShowWindow();
  const auto clientTo = [](const WinDesktop& d, int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, TRUE, 0);
    SetWindowPos(d.Window(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER);
  };
  EXPECT_DOUBLE_EQ(desktop_.ShownScale(), 1);  // at 96 dots per inch, as the run sets it
  clientTo(desktop_, 900, 700);                // 2 x 404 x 304 fits, with a black border
  EXPECT_EQ(desktop_.Page().Factor(), 2);
  EXPECT_DOUBLE_EQ(desktop_.ShownScale(), 2);  // the limit follows the window's size
  const Rect place = desktop_.Page().PlaceIn(ClientOf(desktop_).right, ClientOf(desktop_).bottom);
  EXPECT_EQ(place.x, (ClientOf(desktop_).right - 808) / 2);

  WinDesktop twice(clock_, 2);
  twice.SetMenu({"Version"});
  twice.ShowWindow();
  clientTo(twice, 300, 200);  // the window keeps room for the page at its own factor
  EXPECT_GE(ClientOf(twice).right, 2 * kPageWidth);
  EXPECT_GE(ClientOf(twice).bottom, 2 * kPageHeight);
  EXPECT_EQ(twice.Page().Factor(), 2);
}

TEST_F(WinDesktopTest, KeysTheMenuAndACloseReachTheHandlersOnlyWhileEventsAreDelivered) {
  desktop_.SetMenu({"Version"});
  desktop_.ShowWindow();
  const HWND w = desktop_.Window();
  PostMessageW(w, WM_KEYDOWN, 'X', 0);
  PostMessageW(w, WM_KEYDOWN, VK_F1, 0);
  PostMessageW(w, WM_COMMAND, 100, 0);
  Recorder events;
  desktop_.PumpEvents(events);
  EXPECT_EQ(events.keys, (std::vector<int>{88, 112}));
  EXPECT_EQ(events.menus, (std::vector<int>{0}));
  EXPECT_FALSE(events.ended);

  // A close sent while no handler could take it is delivered with the next events.
  SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(events.ended);
  EXPECT_TRUE(IsWindow(w));
  desktop_.PumpEvents(events);
  EXPECT_TRUE(events.ended);
}

TEST_F(WinDesktopTest, WaitingSleepsUntilTheDueTimeOrAMessageWhicheverComesFirst) {
  Recorder events;
  // The system may send the window messages of its own at any moment, and a wait ends for each,
  // as the loop's does; the loop then delivers them and waits again. Up to the due time that
  // takes a few passes, never a spin, and the due time ends the last wait.
  const uint32_t start = clock_.timeGetTime(), due = start + 60;
  int passes = 0;
  while (static_cast<int32_t>(clock_.timeGetTime() - due) < 0 && passes < 1000) {
    desktop_.PumpEvents(events);
    desktop_.WaitEvents(due);
    ++passes;
  }
  EXPECT_LT(passes, 30);
  EXPECT_LT(clock_.timeGetTime() - start, 5000u);

  PostMessageW(desktop_.Window(), WM_NULL, 0, 0);
  const uint32_t before = clock_.timeGetTime();
  desktop_.WaitEvents(before + 60000);
  EXPECT_LT(clock_.timeGetTime() - before, 30000u) << "a message waiting ends the wait";
  // A due time already past returns at once.
  const uint32_t now = clock_.timeGetTime();
  desktop_.WaitEvents(now - 10);
  EXPECT_LT(clock_.timeGetTime() - now, 30000u);
}

TEST_F(WinDesktopTest, ThePageShowsTheChromeTheCanvasAndTheLabelInItsColour) {
  const Surface chrome(kPageWidth, kPageHeight, Rgb(255, 192, 192));
  const Surface canvas(kCanvasWidth, kCanvasHeight, Rgb(0, 0, 64));
  Label label;
  label.Caption = "2028/12/07 6:38:40";
  label.ForeColor = Rgb(255, 128, 128);
  label.Face = Font{"ＭＳ Ｐゴシック", 12, true};
  Scene scene;
  scene.chrome = &chrome;
  scene.chromeRevision = 1;
  scene.canvas = &canvas;
  scene.canvasX = scene.canvasY = kPageFrame;
  scene.labels.push_back({&label, 226, 282, 169, 25});
  desktop_.Present(scene);

  const PagePicture& page = desktop_.Page();
  ASSERT_EQ(page.Factor(), 1);
  EXPECT_EQ(page.At(0, 0), Rgb(255, 192, 192));
  EXPECT_EQ(page.At(100, 100), Rgb(0, 0, 64));
  int lit = 0, outside = 0;
  for (int y = 0; y < kPageHeight; ++y)
    for (int x = 0; x < kPageWidth; ++x) {
      if (page.At(x, y) != label.ForeColor) continue;
      const bool inBox = x >= 226 && y >= 282 && y < 282 + 25;
      (inBox ? lit : outside)++;
    }
  EXPECT_GT(lit, 100) << "the caption is drawn in the label's colour";
  EXPECT_EQ(outside, 0) << "nothing is drawn outside the label's box";
}

TEST_F(WinDesktopTest, FullscreenCoversTheScreenKeepsTheMenuAndComesBackToTheWindow) {
  desktop_.SetMenu({"Version"});
  desktop_.SetFullscreen(true);  // before the window shows: it shows so
  EXPECT_FALSE(desktop_.Fullscreen());
  desktop_.ShowWindow();
  EXPECT_TRUE(desktop_.Fullscreen());
  RECT outer{};
  GetWindowRect(desktop_.Window(), &outer);
  EXPECT_EQ(outer.right - outer.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(outer.bottom - outer.top, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_NE(GetMenu(desktop_.Window()), nullptr);

  // F11 switches back, and reaches no handler; Alt+Enter switches again.
  Recorder events;
  PostMessageW(desktop_.Window(), WM_KEYDOWN, VK_F11, 0);
  desktop_.PumpEvents(events);
  EXPECT_FALSE(desktop_.Fullscreen());
  RECT client{};
  GetClientRect(desktop_.Window(), &client);
  EXPECT_EQ(client.right, kPageWidth);
  EXPECT_EQ(client.bottom, kPageHeight);
  EXPECT_TRUE(events.keys.empty());
  EXPECT_TRUE(FullscreenWindow::IsSwitchKey(WM_SYSKEYDOWN, VK_RETURN, 0, false, false, true));
  EXPECT_FALSE(
      FullscreenWindow::IsSwitchKey(WM_SYSKEYDOWN, VK_RETURN, 1 << 30, false, false, true));
  EXPECT_FALSE(FullscreenWindow::IsSwitchKey(WM_KEYDOWN, VK_RETURN, 0, false, false, false));
  EXPECT_FALSE(FullscreenWindow::IsSwitchKey(WM_KEYDOWN, VK_F11, 0, true, false, false));
}

TEST_F(WinDesktopTest, AShapeGivenBackIsTheShapeTheWindowTakesAndABoxShownForAWhileClosesByItself) {
  desktop_.SetMenu({"Version"});
  desktop_.ShowWindow();
  // The inside is the client area with the menu bar over it.
  const WindowShape natural = *desktop_.Shape();
  EXPECT_EQ(natural.width, kPageWidth);
  EXPECT_GT(natural.height, kPageHeight);
  EXPECT_FALSE(natural.fullscreen);
  const int menuBar = natural.height - kPageHeight;
  const WindowShape twice{2 * kPageWidth, 2 * kPageHeight + menuBar, false};
  desktop_.SetShape(twice);
  EXPECT_EQ(*desktop_.Shape(), twice);
  EXPECT_EQ(ClientOf(desktop_).right, 2 * kPageWidth);
  desktop_.SetShape({0, 0, true});
  EXPECT_TRUE(desktop_.Fullscreen());
  EXPECT_TRUE(desktop_.Shape()->fullscreen);
  desktop_.SetShape(natural);
  EXPECT_FALSE(desktop_.Fullscreen());
  EXPECT_EQ(*desktop_.Shape(), natural);

  // Shown until the clock reads 300 ms on, then closed as OK closes it.
  const uint32_t opened = clock_.timeGetTime();
  desktop_.MessageBoxUntil("Ombrevale", "for a while", opened + 300);
  const uint32_t open = clock_.timeGetTime() - opened;
  EXPECT_GE(open, 250u);
  EXPECT_LT(open, 30000u);
}

TEST_F(WinDesktopTest, AClickOnThePromptsButtonReachesTheHandlerAndNothingElseDoes) {
  WinDesktop desktop(clock_, 2);
  desktop.SetMenu({"Version"});
  desktop.ShowWindow();
  const Surface chrome(kPageWidth, kPageHeight, Rgb(255, 192, 192));
  const Surface canvas(kCanvasWidth, kCanvasHeight);
  const Prompt prompt{"Start the vision", "Return or Space starts it too"};
  Scene scene;
  scene.chrome = &chrome;
  scene.canvas = &canvas;
  scene.canvasX = scene.canvasY = kPageFrame;
  scene.prompt = &prompt;
  desktop.Present(scene);
  const Rect button = desktop.Page().PromptButtonArea();
  ASSERT_FALSE(button.Empty());
  const HWND w = desktop.Window();
  const auto at = [](int x, int y) { return MAKELPARAM(x, y); };
  const int cx = button.x + button.w / 2, cy = button.y + button.h / 2;
  Recorder events;
  desktop.PumpEvents(events);  // what showing the window queued

  // Down and up over the button: one click. Down over it and up elsewhere, or both elsewhere: none.
  PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at(cx, cy));
  desktop.PumpEvents(events);
  EXPECT_NE(desktop.Page().At(button.x, button.y), FromColorRef(GetSysColor(COLOR_BTNHIGHLIGHT)))
      << "the button is drawn pressed while held";
  PostMessageW(w, WM_LBUTTONUP, 0, at(cx, cy));
  PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at(cx, cy));
  PostMessageW(w, WM_LBUTTONUP, 0, at(button.x - 10, cy));
  PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
  PostMessageW(w, WM_LBUTTONUP, 0, at(cx, cy));
  desktop.PumpEvents(events);
  EXPECT_EQ(events.prompts, 1);
  EXPECT_EQ(desktop.Page().At(button.x, button.y), FromColorRef(GetSysColor(COLOR_BTNHIGHLIGHT)));

  // Once the scene has no prompt, its place is only the canvas.
  scene.prompt = nullptr;
  desktop.Present(scene);
  PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at(cx, cy));
  PostMessageW(w, WM_LBUTTONUP, 0, at(cx, cy));
  desktop.PumpEvents(events);
  EXPECT_EQ(events.prompts, 1);
  EXPECT_TRUE(events.keys.empty());
}

}  // namespace
}  // namespace ombrevale
