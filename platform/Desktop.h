#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Controls.h"
#include "platform/PageLayout.h"
#include "platform/Rect.h"
#include "platform/Surface.h"

namespace ombrevale {

// What the window does with the events the desktop delivers. The main window implements it.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  // A key went down. `keyCode` is the classic virtual-key code: letters 65-90 whatever the shift
  // state, digits 48-57, Enter 13, Escape 27, space 32, arrows 37-40, F1-F12 112-123. `shift`:
  // 1 shift, 2 control, 4 alt.
  virtual void KeyDown(int16_t& keyCode, int16_t shift) = 0;
  // The menu entry with this index (in the order given to SetMenu) was clicked.
  virtual void MenuClick(int entry) = 0;
  // The player pressed the button the scene's prompt shows.
  virtual void PromptClick() = 0;
  // The user closed the window.
  virtual void Unload() = 0;
  // True once the window has been closed: the desktop delivers nothing more.
  virtual bool Ended() const = 0;
};

// A label to draw over the client area, at its place in client pixels, clipped to its box.
struct LabelView {
  const Label* label = nullptr;
  Rect box;

  // Where every desktop draws the label's text and clips it: its box, except that the text may
  // run on past the box's right edge up to the page's. A desktop's face may be a little wider than
  // the face the box was laid out for, and the clock's last digit must stay whole.
  Rect DrawingBox() const {
    const int64_t toPageEdge = int64_t{kPageWidth} - box.x;
    return {
        box.x, box.y,
        static_cast<int>(std::clamp<int64_t>(toPageEdge, box.w, std::numeric_limits<int>::max())),
        box.h};
  }
};

// A button the page shows over the canvas, centred on it, for the player to press before the page
// goes on, with a line under it that says how else to go on (the keys that press it). The desktop
// draws it in its own look, and reports a press with WindowEvents::PromptClick; the keys reach
// the window as keys.
struct Prompt {
  std::string caption;  // on the button
  std::string note;     // under it
};

// What the client area below the menu strip shows. `chrome` is the window background with its
// pages and frames, 404 x 304 pixels; it changes rarely, and `chromeRevision` says when. The
// canvas lies over it at (canvasX, canvasY), the labels over the canvas, and the prompt, where
// there is one, over them all.
struct Scene {
  const Surface* chrome = nullptr;
  uint64_t chromeRevision = 0;
  const Surface* canvas = nullptr;
  int canvasX = 0, canvasY = 0;
  std::vector<LabelView> labels;
  const Prompt* prompt = nullptr;
  // What the canvas shows, as a screen reader names it.
  std::string_view canvasName = {};
};

// How the window lies on the desktop: what a replay keeps of the player's resizes and fullscreen,
// to show the session as the player saw it.
struct WindowShape {
  int width = 0, height = 0;  // the window's inside, in its pixels
  bool fullscreen = false;
  bool operator==(const WindowShape&) const = default;
};

// The main window on the desktop: placement, caption, menu, events, presenting, the message box.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // The screen's size in twips.
  virtual float ScreenWidth() = 0;
  virtual float ScreenHeight() = 0;
  // The window's outer size and place in twips, frame, caption and menu included. A size set is
  // a request; reading it back gives what the window system made of it.
  virtual void SetWindowSize(float width, float height) = 0;
  virtual float WindowWidth() = 0;
  virtual float WindowHeight() = 0;
  virtual void SetWindowPosition(float left, float top) = 0;
  virtual void SetCaption(std::string_view caption) = 0;
  virtual void SetMenu(const std::vector<std::string>& entries) = 0;
  // Shows the window for the first time (modeless).
  virtual void ShowWindow() = 0;

  // Delivers every pending event to `events`, then returns; stops early once `events.Ended()`.
  virtual void PumpEvents(WindowEvents& events) = 0;
  // Waits until an event is pending or until the millisecond clock reads `due` (wrap-aware),
  // whichever comes first; without `due`, until an event is pending. Returns at once when `due`
  // has passed. Wakes precisely: never a millisecond late for a slot that is due.
  virtual void WaitEvents(std::optional<uint32_t> due) = 0;

  // Puts the scene on screen now.
  virtual void Present(const Scene& scene) = 0;
  // Shows a modal box with an OK button; returns when the user closes it. Input that reached
  // the window while the box was open is dropped: a modal box means the window takes none.
  virtual void MessageBox(std::string_view title, std::string_view text) = 0;

  // Whether the player asked the desktop for less motion (its animations switched off), as the
  // platform's own setting says: the title page then starts calm. Asked once, at the start.
  virtual bool PrefersLessMotion() = 0;
  // How large one pixel of the page is shown now, in reference pixels (a 96th of an inch as the
  // platform counts it: CSS pixels on the web page, logical pixels on Wayland, pixels x 96 / dpi
  // on X11 and Windows): 1 at the natural size of a 96-dpi screen, 1 too for twice the pixels of a
  // 192-dpi screen. It follows the window as it is resized, maximised or made fullscreen. How much
  // of the eye's field a flash covers depends on it; asked before every frame.
  virtual double ShownScale() = 0;

  // The window's shape now; nothing from a desktop whose window the player cannot shape.
  virtual std::optional<WindowShape> Shape() { return std::nullopt; }
  // Gives the window a shape, as a replay shows a session at the sizes the player chose; a desktop
  // that cannot leaves the window as it is.
  virtual void SetShape(const WindowShape&) {}
  // Shows the box as MessageBox does, and closes it by itself once the desktop's millisecond clock
  // reads `closeAt` (wrap-aware), as a replay shows a box for as long as the player kept it open.
  // A desktop that cannot returns at once, the box unshown.
  virtual void MessageBoxUntil(std::string_view, std::string_view, uint32_t /*closeAt*/) {}
};

}  // namespace ombrevale
