#pragma once

// The keys of a PC keyboard by their place, and the classic virtual-key code each place gives the
// window's key handler: the one table every desktop reads its key presses by, each by the name it
// knows a place by.

#include <cstdint>
#include <span>
#include <string_view>

namespace ombrevale {

// One place on the keyboard.
struct KeyPlace {
  // The place's standard name, as a browser's KeyboardEvent.code gives it ("KeyA", "Semicolon",
  // "Numpad0"); empty for the few places a browser does not name.
  std::string_view name;
  // Its usage on the USB keyboard page (0x04 "A" ... 0xE7 right Windows key), as keyboards report
  // it and SDL numbers its scan codes; 0 for the media and browser keys, which lie beyond that
  // page and are known by name only.
  uint16_t usage;
  // The character the key of a US keyboard types there unshifted, for the punctuation and the
  // keys that type a control character (Enter '\r', Escape, Backspace, Tab, Space, Delete); 0 for
  // the rest.
  char32_t typed;
  // The classic virtual-key code: letters 65-90, digits 48-57, the US punctuation keys 186-192
  // and 219-222 (226 the extra ISO key), the keypad 96-111, F1-F24 112-135, media and browser
  // keys 166-183.
  int16_t code;
};

// Every place, the letters first, then the keyboard page in the order of its usages, then the
// keys beyond it.
std::span<const KeyPlace> KeyPlaces();

// The place of that name, that USB usage, or whose US key types that character; nothing when
// none (the empty name and usage 0 name no place).
const KeyPlace* KeyPlaceNamed(std::string_view name);
const KeyPlace* KeyPlaceOfUsage(uint16_t usage);
const KeyPlace* KeyPlaceTyping(char32_t character);

// The shift state the window's key handler takes with a key: 1 shift, 2 control, 4 alt, added up.
inline constexpr int16_t ShiftBits(bool shift, bool control, bool alt) {
  return static_cast<int16_t>((shift ? 1 : 0) | (control ? 2 : 0) | (alt ? 4 : 0));
}

}  // namespace ombrevale
