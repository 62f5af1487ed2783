#include "backends/win32/WinDesktop.h"

#include <gtest/gtest.h>

#include <vector>

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

class WinDesktopTest : public ::testing::Test {
 protected:
  WinClock clock_;
  WinDesktop desktop_{clock_};
};

TEST_F(WinDesktopTest, TheClientAreaBelowTheMenuBarIsOnePageAndTheWindowIsPlacedInTwips) {
  desktop_.SetMenu({"Version"});
  desktop_.SetCaption("Ombrevale 1.0");
  RECT client{};
  GetClientRect(desktop_.Window(), &client);
  EXPECT_EQ(client.right, kPageWidth);
  EXPECT_EQ(client.bottom, kPageHeight);

  wchar_t text[32] = {};
  GetMenuStringW(GetMenu(desktop_.Window()), 0, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Version");
  GetWindowTextW(desktop_.Window(), text, 32);
  EXPECT_STREQ(text, L"Ombrevale 1.0");

  RECT outer{};
  GetWindowRect(desktop_.Window(), &outer);
  EXPECT_FLOAT_EQ(desktop_.WindowWidth(), (outer.right - outer.left) * 15.0f);
  EXPECT_FLOAT_EQ(desktop_.ScreenWidth(), GetSystemMetrics(SM_CXSCREEN) * 15.0f);
  desktop_.SetWindowPosition(4615, 3155);  // 307.67, 210.33 pixels: whole pixels towards zero
  GetWindowRect(desktop_.Window(), &outer);
  EXPECT_EQ(outer.left, 307);
  EXPECT_EQ(outer.top, 210);
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
  desktop_.PumpEvents(events);  // what the window's creation queued
  const uint32_t start = clock_.timeGetTime();
  desktop_.WaitEvents(start + 60);
  const uint32_t waited = clock_.timeGetTime() - start;
  EXPECT_GE(waited, 59u);
  EXPECT_LT(waited, 500u);

  PostMessageW(desktop_.Window(), WM_NULL, 0, 0);
  const uint32_t before = clock_.timeGetTime();
  desktop_.WaitEvents(before + 5000);
  EXPECT_LT(clock_.timeGetTime() - before, 1000u);
  // A due time already past returns at once.
  const uint32_t now = clock_.timeGetTime();
  desktop_.WaitEvents(now - 10);
  EXPECT_LT(clock_.timeGetTime() - now, 100u);
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

}  // namespace
}  // namespace ombrevale
