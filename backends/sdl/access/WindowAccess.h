#pragma once

// The window as a screen reader finds it: where an accessibility bus may run, the window loads the
// accessibility bridge and, after each change, hands it what the window shows, gathered from its
// parts; the bridge's requests (a menu entry clicked, a button pressed) come back to the window to
// carry out as its own input. Where no bus runs, nothing is loaded and every call costs nothing.

#include <SDL.h>

#include <memory>
#include <string_view>
#include <vector>

#include "backends/sdl/access/AccessBridge.h"
#include "backends/sdl/boxes/MenuBar.h"
#include "backends/sdl/boxes/ModalBox.h"
#include "backends/sdl/boxes/PromptView.h"
#include "platform/Desktop.h"
#include "platform/scale/Scaler.h"

namespace ombrevale {

class WindowAccess {
 public:
  WindowAccess() = default;
  ~WindowAccess();
  WindowAccess(const WindowAccess&) = delete;
  WindowAccess& operator=(const WindowAccess&) = delete;

  // Opens the bridge for the application named `application` where an accessibility bus may run
  // and runs now (AccessBus.h); else, or where the bridge cannot be loaded, the window goes on
  // without it and says nothing.
  void Open(std::string_view application);
  bool IsOpen() const { return bridge_ != nullptr; }

  // What the page shows, from the scene presented: the canvas's name and place (`canvas`, client
  // pixels), the labels, the prompt's texts.
  void TakeScene(const Scene& scene, const Rect& canvas);
  // Publishes what the window shows now. `fit` places the client area on what the presenter draws
  // on, whose size is `drawn`.
  void Show(SDL_Window* window, const WholeFactorFit& fit, SDL_Point drawn, const MenuBar& menu,
            const PromptView& prompt, const ModalBox& box);
  // Answers the screen reader, and returns what it asked the window to do.
  std::vector<AccessRequest> Serve();

 private:
  AccessView page_;  // the page's part, from the last scene
  std::optional<Prompt> prompt_;
  // The event that wakes the window's wait when the screen reader writes; before the bridge, which
  // uses it until it closes.
  uint32_t wakeEvent_ = 0;
  std::unique_ptr<AccessBridge> bridge_;
};

// Whether an accessibility bus may run for this program: the variable that switches the bridge off
// (NO_AT_BRIDGE=1) is not set, and there is a bus's address (AT_SPI_BUS_ADDRESS), a session bus's
// (DBUS_SESSION_BUS_ADDRESS), or a session bus's socket in the user's runtime folder. `env` reads a
// variable; `exists` tells whether a file is there.
bool AccessBusMayRun(const char* (*env)(const char*), bool (*exists)(const char*));

}  // namespace ombrevale
