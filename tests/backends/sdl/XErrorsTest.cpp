#include "backends/sdl/XErrors.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool, ...) would break its headers.
#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace ombrevale {
namespace {

TEST(XErrors, OnlyAnEventSentToAVanishedWindowIsIgnored) {
  EXPECT_TRUE(IsEventSentToVanishedWindow(BadWindow, X_SendEvent));
  EXPECT_FALSE(IsEventSentToVanishedWindow(BadWindow, X_DestroyWindow));
  EXPECT_FALSE(IsEventSentToVanishedWindow(BadWindow, X_ChangeProperty));
  EXPECT_FALSE(IsEventSentToVanishedWindow(BadValue, X_SendEvent));
  EXPECT_FALSE(IsEventSentToVanishedWindow(BadAlloc, X_SendEvent));
}

// Once installed (here, or by an earlier start of the video), the process's handler lets the late
// wakeup pass and returns, where Xlib's default one would end the program.
TEST(XErrors, TheInstalledHandlerLetsTheLateWakeupPass) {
  IgnoreEventsSentToVanishedWindows();
  IgnoreEventsSentToVanishedWindows();  // a second install changes nothing
  const XErrorHandler installed = XSetErrorHandler(nullptr);
  XSetErrorHandler(installed);
  ASSERT_NE(installed, nullptr);
  XErrorEvent wakeup{};
  wakeup.error_code = BadWindow;
  wakeup.request_code = X_SendEvent;
  EXPECT_EQ(installed(nullptr, &wakeup), 0);
}

}  // namespace
}  // namespace ombrevale
