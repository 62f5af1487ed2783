#include "backends/sdl/XErrors.h"

#include <cstdlib>
#include <string>

#include "platform/Complaint.h"

// Last: Xlib's inner header, for a connection's hooks, defines min and max as macros.
#include <X11/Xlib.h>
#include <X11/Xlibint.h>
#include <X11/Xproto.h>

namespace ombrevale {
namespace {

XErrorHandler previousHandler = nullptr;
bool installed = false;

int HandleXError(Display* display, XErrorEvent* error) {
  if (IsEventSentToVanishedWindow(error->error_code, error->request_code)) return 0;
  return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

// Xlib asks a connection's extensions about each error on it before its handler: one that
// answers "mine" keeps it from the handler, and the request that met it returns `code`.
int SwallowError(Display*, xError*, XExtCodes*, int* code) {
  *code = 0;
  return 1;
}

int DisplayLost(Display* display) {
  const char* name = display != nullptr ? DisplayString(display) : nullptr;
  Complain(std::string("lost the connection to the display") +
           (name != nullptr ? std::string(" \"") + name + "\"" : std::string()) +
           ", and the window with it");
  // No exit handler may run: any of them that spoke to the server would find it gone again.
  std::_Exit(1);
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

void IgnoreErrorsOn(Display* display) {
  // An extension of no name of its own, there only to hear of the connection's errors.
  XExtCodes* codes = XAddExtension(display);
  if (codes != nullptr) XESetError(display, codes->extension, SwallowError);
}

void SayWhenTheDisplayIsLost() {
  XSetIOErrorHandler(DisplayLost);
}

}  // namespace ombrevale
