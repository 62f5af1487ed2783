#include "backends/sdl/XErrors.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace ombrevale {
namespace {

XErrorHandler previousHandler = nullptr;
bool installed = false;

int HandleXError(Display* display, XErrorEvent* error) {
  if (IsEventSentToVanishedWindow(error->error_code, error->request_code)) return 0;
  return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

}  // namespace

bool IsEventSentToVanishedWindow(int errorCode, int requestCode) {
  return errorCode == BadWindow && requestCode == X_SendEvent;
}

void IgnoreEventsSentToVanishedWindows() {
  if (installed) return;
  installed = true;
  previousHandler = XSetErrorHandler(HandleXError);
}

}  // namespace ombrevale
