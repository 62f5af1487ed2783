#pragma once

// The window's side of the accessibility bridge, which publishes what the window shows to screen
// readers over the desktop's accessibility bus (AT-SPI). The bridge is a module of its own,
// ombrevale-access.so beside the SDL half, loaded only where such a bus may run: the program needs
// neither it nor the libraries behind it to run.

#include <vector>

#include "backends/sdl/access/AccessView.h"

namespace ombrevale {

class AccessBridge {
 public:
  virtual ~AccessBridge() = default;
  // The window shows `view` now: the bridge tells the screen reader what changed.
  virtual void Show(const AccessView& view) = 0;
  // Answers what the screen reader asked meanwhile, without blocking, and returns what it asked the
  // window to do.
  virtual std::vector<AccessRequest> Serve() = 0;
};

}  // namespace ombrevale

// The module's entry: opens the bridge for the application named `application`, or returns null
// where no accessibility bus answers. The bridge listens on a thread of its own and calls
// `wake(context)` from there when the screen reader wrote, so that the window's wait returns and
// the loop calls Serve.
extern "C" {
using OmbrevaleOpenAccessCall = ombrevale::AccessBridge* (*)(const char* application,
                                                             void (*wake)(void*), void* context);
}
#define OMBREVALE_OPEN_ACCESS "OmbrevaleOpenAccess"
#define OMBREVALE_ACCESS_MODULE "ombrevale-access.so"
