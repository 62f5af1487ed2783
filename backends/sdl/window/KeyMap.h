#pragma once

#include <SDL_keyboard.h>

#include <cstdint>

namespace ombrevale {

// The classic virtual-key code of a key press, so that every key of a PC keyboard reaches the
// window's key handler whatever the layout:
// - letters 65-90 and digits 48-57 from the key code, so a layout's own letters keep their codes
//   (a French "a" is 65 wherever it sits);
// - keys that type no character (Enter 13, Escape 27, arrows 37-40, F1-F24 112-135, the keypad
//   96-111, media and browser keys 166-183 ...) from the key code too, so a user's remapping holds;
// - every other key by its place on the keyboard, from the scan code: the punctuation keys take
//   the codes of the US keys at their place (186-192, 219-222, 226 for the extra ISO key), so a
//   German "ü" is 219 and "ß" 189; a key that types a letter of another alphabet (Cyrillic "й")
//   takes the US letter or digit at its place; the Japanese and Korean keys take their own codes.
// 0 for a key that has no classic code. The codes of the places come from the key table of
// platform/keys, which every desktop reads.
int16_t VirtualKeyCode(const SDL_Keysym& key);

// The shift state of the key handler (platform/keys) from SDL's modifier keys, either side's.
int16_t ShiftBits(uint16_t modifiers);

}  // namespace ombrevale
