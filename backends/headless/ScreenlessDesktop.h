#pragma once

#include "backends/headless/FakeScreen.h"
#include "platform/Desktop.h"

namespace ombrevale {

// The base of desktops for runs that show nothing (benchmarks, long runs): a 1024 x 768 screen, a
// window that keeps the size it was given and is shown at its natural size, and nothing done for
// the window's settings, boxes or events. A run overrides what it needs.
class ScreenlessDesktop : public Desktop {
 public:
  float ScreenWidth() override { return kFakeScreenWidth; }
  float ScreenHeight() override { return kFakeScreenHeight; }
  void SetWindowSize(float width, float height) override {
    width_ = width;
    height_ = height;
  }
  float WindowWidth() override { return width_; }
  float WindowHeight() override { return height_; }
  void SetWindowPosition(float, float) override {}
  void SetCaption(std::string_view) override {}
  void SetMenu(const std::vector<std::string>&) override {}
  void ShowWindow() override {}
  void PumpEvents(WindowEvents&) override {}
  void WaitEvents(std::optional<uint32_t>) override {}
  void Present(const Scene&) override {}
  void MessageBox(std::string_view, std::string_view) override {}
  bool PrefersLessMotion() override { return false; }
  double ShownScale() override { return 1; }

 private:
  float width_ = 0, height_ = 0;
};

}  // namespace ombrevale
