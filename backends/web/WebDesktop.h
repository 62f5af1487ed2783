#pragma once

// The main window on a web page: the page's canvas shows the client area below an HTML menu bar,
// the labels and the calm start's prompt lie over it as the page's own text and button, the
// version box is the page's modal dialog, and the browser's own event loop calls the program one
// pass at a time (it never waits here). The page fits the window to the browser's window at a
// whole factor of device pixels, unless the player asked for one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backends/web/CanvasPresenter.h"
#include "platform/Desktop.h"

namespace ombrevale {

class WebDesktop final : public Desktop {
 public:
  // The screen of the visitor's display, in twips.
  float ScreenWidth() override;
  float ScreenHeight() override;
  // A page keeps its own size: the size asked for is what the window is taken to have.
  void SetWindowSize(float width, float height) override;
  float WindowWidth() override { return width_; }
  float WindowHeight() override { return height_; }
  void SetWindowPosition(float, float) override {}
  // The caption becomes the page's title.
  void SetCaption(std::string_view caption) override;
  void SetMenu(const std::vector<std::string>& entries) override;
  void ShowWindow() override;
  // The page's factor the player asked for (?scale=N), instead of the one that fits; before the
  // window shows.
  void AskScale(std::optional<int> scale);
  // A canvas pixel's size in CSS pixels, as the page last said: its factor in device pixels over
  // the browser's devicePixelRatio.
  double ShownScale() override;

  // The keys, menu clicks and presses of the prompt's button the page sent since the last pass
  // (see WebDesktopEvents.cpp).
  void PumpEvents(WindowEvents& events) override;
  // The browser's event loop does the waiting: the page calls the next pass when it is due.
  void WaitEvents(std::optional<uint32_t>) override {}

  void Present(const Scene& scene) override { presenter_.Present(scene); }
  // The page's modal dialog; returns when the visitor closes it, the program's pass held
  // meanwhile, so no slot fires. What the visitor typed at the page meanwhile is dropped.
  void MessageBox(std::string_view title, std::string_view text) override;
  // The visitor's system asks for less motion (prefers-reduced-motion), or the address does
  // (?calm=1): the page's setting "calm".
  bool PrefersLessMotion() override;
  // The dialog, closed as OK closes it once the page's milliseconds read `closeAt`.
  void MessageBoxUntil(std::string_view title, std::string_view text, uint32_t closeAt) override;
  // The browser's window as the page fills it, in device pixels, and whether it is fullscreen, as
  // the page said last; nothing before it said. The page cannot shape the browser's window.
  std::optional<WindowShape> Shape() override;

 private:
  float width_ = 0, height_ = 0;
  CanvasPresenter presenter_;
};

}  // namespace ombrevale
