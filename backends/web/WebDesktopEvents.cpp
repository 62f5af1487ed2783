// The window's events on a web page: the keys and menu clicks the page queued, handed to the
// window's handlers. A key arrives by its place on the keyboard (KeyboardEvent.code), which the
// key table every desktop reads turns into the classic key code.

#include <emscripten.h>

#include "backends/web/WebDesktop.h"
#include "platform/keys/KeyPlaces.h"

// The page's JavaScript is not C++: clang-format leaves it as it is.
// clang-format off
// Takes the oldest queued event: 0 none, 1 a key (its place's name into `name`, its shift state
// into `value`), 2 a menu click (the entry into `value`).
EM_JS(int, PageNextEvent, (char* name, int capacity, int* value), {
  const e = OmbrevalePage.nextEvent();
  if (!e) return 0;
  if (e.kind === 'key') {
    stringToUTF8(e.code, name, capacity);
    HEAP32[value >> 2] = e.shift;
    return 1;
  }
  HEAP32[value >> 2] = e.entry;
  return 2;
});
// Tells the page's test hook which code a key arrived with.
EM_JS(void, PageKeyArrived, (int code), { OmbrevalePage.keyArrived(code); });
// clang-format on

namespace ombrevale {

void WebDesktop::PumpEvents(WindowEvents& events) {
  char name[64];
  int value = 0;
  while (!events.Ended()) {
    const int kind = PageNextEvent(name, sizeof name, &value);
    if (kind == 0) break;
    if (kind == 2) {
      events.MenuClick(value);
      continue;
    }
    const KeyPlace* place = KeyPlaceNamed(name);
    int16_t code = place ? place->code : 0;
    if (code == 0) continue;  // a key without a classic code
    PageKeyArrived(code);
    events.KeyDown(code, static_cast<int16_t>(value));
  }
}

}  // namespace ombrevale
