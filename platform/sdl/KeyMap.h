#pragma once

#include <SDL_keyboard.h>

#include <cstdint>

namespace ombrevale {

// The classic virtual-key code of an SDL key: letters 65-90 whatever the shift state, digits
// 48-57, Enter 13, Escape 27, space 32, arrows 37-40, F1-F12 112-123, keypad digits 96-105,
// punctuation 186-192 and 219-222 ... 0 for a key that has none.
int16_t VirtualKeyCode(SDL_Keycode key);

// The shift state of the key handler: 1 shift, 2 control, 4 alt, added up.
int16_t ShiftBits(uint16_t modifiers);

}  // namespace ombrevale
