#pragma once

// A desktop that passes every call on to another: the base of the desktops that stand in front of
// one (recording a session, drawing a replay's frames), which override only what they change.

#include "platform/Desktop.h"

namespace ombrevale {

class ForwardingDesktop : public Desktop {
 public:
  explicit ForwardingDesktop(Desktop& inner) : inner_(inner) {}

  float ScreenWidth() override { return inner_.ScreenWidth(); }
  float ScreenHeight() override { return inner_.ScreenHeight(); }
  void SetWindowSize(float width, float height) override { inner_.SetWindowSize(width, height); }
  float WindowWidth() override { return inner_.WindowWidth(); }
  float WindowHeight() override { return inner_.WindowHeight(); }
  void SetWindowPosition(float left, float top) override { inner_.SetWindowPosition(left, top); }
  void SetCaption(std::string_view caption) override { inner_.SetCaption(caption); }
  void SetMenu(const std::vector<std::string>& entries) override { inner_.SetMenu(entries); }
  void ShowWindow() override { inner_.ShowWindow(); }
  void PumpEvents(WindowEvents& events) override { inner_.PumpEvents(events); }
  void WaitEvents(std::optional<uint32_t> due) override { inner_.WaitEvents(due); }
  void Present(const Scene& scene) override { inner_.Present(scene); }
  void MessageBox(std::string_view title, std::string_view text) override {
    inner_.MessageBox(title, text);
  }
  bool PrefersLessMotion() override { return inner_.PrefersLessMotion(); }
  double ShownScale() override { return inner_.ShownScale(); }
  std::optional<WindowShape> Shape() override { return inner_.Shape(); }
  void SetShape(const WindowShape& shape) override { inner_.SetShape(shape); }
  void MessageBoxUntil(std::string_view title, std::string_view text, uint32_t closeAt) override {
    inner_.MessageBoxUntil(title, text, closeAt);
  }

 protected:
  Desktop& inner_;
};

}  // namespace ombrevale
