// The window's events on a web page: the keys, menu clicks and presses of the prompt's button the
// page sent, handed to the window's handlers. A key arrives by its place on the keyboard
// (KeyboardEvent.code), which the key table every desktop reads turns into the classic key code.

#include <emscripten.h>

#include "backends/web/WebDesktop.h"
#include "platform/keys/KeyPlaces.h"

// The page's JavaScript is not C++: clang-format leaves it as it is.
// clang-format off
// Takes the oldest event the page sent, told by its kind (OMBREVALE_NAMES, facts.js): 0 none; 1 a
// key, its place's name into `name` and whether shift, control and alt were down into `values`; 2
// a menu click, the entry into `values`; 3 a press of the prompt's button.
EM_JS(int, PageNextEvent, (char* name, int capacity, int* values), {
  const e = OmbrevaleProgram.nextEvent();
  if (!e) return 0;
  if (e.kind === OMBREVALE_NAMES.kind.key) {
    stringToUTF8(e.code, name, capacity);
    HEAP32.set([e.shift ? 1 : 0, e.control ? 1 : 0, e.alt ? 1 : 0], values >> 2);
    return 1;
  }
  if (e.kind === OMBREVALE_NAMES.kind.menu) {
    HEAP32[values >> 2] = e.entry;
    return 2;
  }
  return 3;
});
// Tells the page's test hook which code a key arrived with.
EM_JS(void, PageKeyArrived, (int code), { OmbrevaleProgram.keyArrived(code); });
// clang-format on

namespace ombrevale {

void WebDesktop::PumpEvents(WindowEvents& events) {
  char name[64];
  int values[3] = {};
  while (!events.Ended()) {
    const int kind = PageNextEvent(name, sizeof name, values);
    if (kind == 0) break;
    if (kind == 2) {
      events.MenuClick(values[0]);
      continue;
    }
    if (kind == 3) {
      events.PromptClick();
      continue;
    }
    const KeyPlace* place = KeyPlaceNamed(name);
    int16_t code = place ? place->code : 0;
    if (code == 0) continue;  // a key without a classic code
    PageKeyArrived(code);
    events.KeyDown(code, ShiftBits(values[0] != 0, values[1] != 0, values[2] != 0));
  }
}

}  // namespace ombrevale
