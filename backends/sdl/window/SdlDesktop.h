#pragma once

// The main window on an SDL desktop: the one contract the system reaches the desktop through,
// answered by small pieces that each keep one side of the window.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backends/sdl/SdlHandles.h"
#include "backends/sdl/access/WindowAccess.h"
#include "backends/sdl/boxes/MenuBar.h"
#include "backends/sdl/boxes/ModalBox.h"
#include "backends/sdl/boxes/PromptView.h"
#include "backends/sdl/layers/Fonts.h"
#include "backends/sdl/present/ClientFrame.h"
#include "backends/sdl/present/PageView.h"
#include "backends/sdl/present/Presenter.h"
#include "backends/sdl/settings/DesktopSettings.h"
#include "backends/sdl/window/Fullscreen.h"
#include "backends/sdl/window/WindowPlacement.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"

namespace ombrevale {

// Its client area is a menu strip of 20 pixels that we draw ourselves, then the 404 x 304 page
// area, composed in memory at that size. On a scaled desktop all of it shows at the page's whole
// factor N (platform/scale/PageScale.h: from Xft.dpi or GDK_SCALE on X11, from the output's scale
// on Wayland, or as the player asked; never more than fits the screen, platform/scale/ScreenFit.h):
// the pictures as N x N blocks, the texts and the boxes drawn at that size. The window can be
// resized, maximised or made fullscreen: the client area then scales by the largest whole factor
// that fits, never below N, centred on black, through the graphics card where there is one, else
// through our own scaler. Needs SDL's video started (SdlVideo) for as long as it lives.
class SdlDesktop final : public Desktop {
 public:
  // The window is created hidden, at the page's factor: `scale` where the player asked for one,
  // else the desktop's. `clock` is the loop's millisecond clock, which WaitEvents wakes by.
  explicit SdlDesktop(Clock& clock, std::optional<int> scale = std::nullopt);
  ~SdlDesktop() override;
  SdlDesktop(const SdlDesktop&) = delete;
  SdlDesktop& operator=(const SdlDesktop&) = delete;

  float ScreenWidth() override { return placement_.ScreenWidth(); }
  float ScreenHeight() override { return placement_.ScreenHeight(); }
  void SetWindowSize(float width, float height) override;
  float WindowWidth() override { return placement_.WindowWidth(); }
  float WindowHeight() override { return placement_.WindowHeight(); }
  void SetWindowPosition(float left, float top) override { placement_.SetPosition(left, top); }
  void SetCaption(std::string_view caption) override;
  void SetMenu(const std::vector<std::string>& entries) override;
  void ShowWindow() override;

  void PumpEvents(WindowEvents& events) override;
  void WaitEvents(std::optional<uint32_t> due) override;

  void Present(const Scene& scene) override;
  // The window's own box, drawn over its page. While it is open the loop stands still, but the
  // window still repaints, goes fullscreen and takes a close, which takes effect as the box
  // closes; a signal to end (SIGTERM, SIGINT) closes it at once.
  void MessageBox(std::string_view title, std::string_view text) override;
  // The window's inside in its pixels, and fullscreen or not; given back, as a replay gives it.
  std::optional<WindowShape> Shape() override;
  void SetShape(const WindowShape& shape) override;
  // The box, closed as OK would close it once `clock` reads `closeAt`, if the viewer has not.
  void MessageBoxUntil(std::string_view title, std::string_view text, uint32_t closeAt) override;

  // Publishes the window to screen readers where the desktop's accessibility bus may run, for the
  // application named `application`; else the window goes on as it was.
  void OpenAccess(std::string_view application);
  bool AccessOpen() const { return access_.IsOpen(); }

  // Fullscreen on the desktop, or back to the window; before the window is shown, how it will
  // show.
  void SetFullscreen(bool on);

  // Whether the desktop's animations are switched off: the XSETTINGS Gtk/EnableAnimations on X11,
  // the desktop portal's settings on Wayland.
  bool PrefersLessMotion() override;

  // The page's whole factor N, and the factor the client area is shown at now (N, or more in a
  // larger window).
  int PageScale() const { return pageScale_; }
  int ShownFactor() const { return ShownFit().factor; }
  // The shown factor in reference pixels: on X11 the screen's pixels x 96 / the desktop's dpi
  // (Xft.dpi, or GDK_SCALE), on Wayland the output's logical pixels.
  double ShownScale() override;
  // What the client area shows now, menu strip, texts and boxes included, at the factor it is
  // shown at.
  Surface ReadClientArea();
  // Where the texts and boxes drawn over the pictures lay at the last frame, in the pixels of what
  // the presenter draws on: what two presenters may blend a little differently.
  std::vector<SDL_Rect> LayerAreas() const;
  // How frames reach the screen: "x11-shm", "software", or the name of SDL's accelerated renderer.
  std::string DrawingName() const { return presenter_->Name(); }

  // The SDL window, for tools and tests that look at it.
  SDL_Window* Window() const { return window_.get(); }

 private:
  void Repaint();
  // The layers over the client area, drawn at `factor`, in order: the menu's captions, the labels,
  // the prompt, the box.
  void GatherLayers(int factor);
  // Where the client area lies on what the presenter draws on, and at what factor.
  WholeFactorFit ShownFit() const;
  // Sizes the window for the page's factor: the client area N times its natural size. A fullscreen
  // or maximised window keeps its size.
  void FitWindowToScale();
  // Takes the page's factor from the desktop's scale (or the player's) and the screen the window
  // is on, and keeps the window between the client area at that factor and the screen's size:
  // whether the factor changed.
  bool FollowDesktopScale();
  // The window's least and largest size, in SDL's units.
  void LimitWindowSize(int minWidth, int minHeight, int maxWidth, int maxHeight);
  void Dispatch(const SDL_Event& event, WindowEvents& events);
  // Runs the box until it is closed, or until the clock reads `closeAt`.
  void RunBox(std::string_view title, std::string_view text, std::optional<uint32_t> closeAt);
  // One event while the box is open.
  void DispatchModal(const SDL_Event& event);
  // Whether the event is one of the window's own: a change that needs a repaint, a fullscreen
  // key. Such events are handled here, box or not.
  bool WindowOwn(const SDL_Event& event);
  // A point of the window (in SDL's units) in client pixels.
  SDL_Point ToClient(int x, int y) const;
  void HoverUnderPointer();
  // The pointer (a move, a press or a release of a button) over the prompt: whether the prompt
  // took it; over the menu strip; over the box while it is open.
  bool PromptPointer(const SDL_Event& event, WindowEvents& events);
  void MenuPointer(const SDL_Event& event, WindowEvents& events);
  void BoxPointer(const SDL_Event& event);
  // Tells the screen reader what the window shows now.
  void PublishAccess();
  // Carries out what the screen reader asked, as the window's own input would be: a menu entry
  // clicked and the prompt's button pressed go to `events` (none while the box is open), OK closes
  // the box.
  void ServeAccess(WindowEvents* events);

  Clock& clock_;
  Fonts fonts_;
  std::optional<int> askedScale_;
  double desktopScale_ = 1;  // what the desktop last said of its scale (dpi / 96)
  WindowPtr window_;
  std::unique_ptr<DesktopSettings> settings_;  // what the desktop says: its scale, its animations
  int pageScale_ = 1;
  bool absurdScaleSaid_ = false;
  std::unique_ptr<Presenter> presenter_;
  ClientFrame frame_;
  PageView page_{frame_, fonts_};
  MenuBar menu_{frame_, fonts_};
  PromptView prompt_{fonts_};
  ModalBox box_{fonts_};
  std::vector<ShownLayer> layers_;
  WindowAccess access_;
  WindowPlacement placement_;
  Fullscreen fullscreen_;
  bool shown_ = false;
  bool fullscreenAtShow_ = false;
  bool repaintDue_ = false;
  bool wholeWindowDue_ = false;
  // A close asked for while the box was open, delivered when it closes; and the quit SDL sends
  // right after a close, which is that close's and no signal's.
  bool closeAsked_ = false;
  bool closeQuitPending_ = false;
};

}  // namespace ombrevale
