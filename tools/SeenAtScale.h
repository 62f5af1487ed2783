#pragma once

// A desktop that shows what another one shows but says it is seen at a size of the renderer's
// choosing: the renderer's window draws the page's own pixels, while its frames pass through the
// flash limit as they would for a player who sees them at that size.

#include "platform/Desktop.h"

namespace ombrevale {

class SeenAtScale final : public Desktop {
 public:
  // `scale`: reference pixels to a canvas pixel, as Desktop::ShownScale says it.
  SeenAtScale(Desktop& inner, double scale) : inner_(inner), scale_(scale) {}

  double ShownScale() override { return scale_; }

  float ScreenWidth() override { return inner_.ScreenWidth(); }
  float ScreenHeight() override { return inner_.ScreenHeight(); }
  void SetWindowSize(float w, float h) override { inner_.SetWindowSize(w, h); }
  float WindowWidth() override { return inner_.WindowWidth(); }
  float WindowHeight() override { return inner_.WindowHeight(); }
  void SetWindowPosition(float l, float t) override { inner_.SetWindowPosition(l, t); }
  void SetCaption(std::string_view c) override { inner_.SetCaption(c); }
  void SetMenu(const std::vector<std::string>& e) override { inner_.SetMenu(e); }
  void ShowWindow() override { inner_.ShowWindow(); }
  void PumpEvents(WindowEvents& events) override { inner_.PumpEvents(events); }
  void WaitEvents(std::optional<uint32_t> due) override { inner_.WaitEvents(due); }
  void Present(const Scene& scene) override { inner_.Present(scene); }
  void MessageBox(std::string_view t, std::string_view x) override { inner_.MessageBox(t, x); }
  bool PrefersLessMotion() override { return inner_.PrefersLessMotion(); }

 private:
  Desktop& inner_;
  double scale_;
};

}  // namespace ombrevale
