#include "platform/sdl/KeyMap.h"

#include <cstddef>
#include <utility>

namespace ombrevale {
namespace {

// The tables keep one key to a line, so that each can say what it is.
// clang-format off

// Keys that type no character, by key code, beside the runs of letters, digits and F1-F24.
constexpr std::pair<SDL_Keycode, int16_t> kControlKeys[] = {
    {SDLK_CANCEL, 3},         // Ctrl+Break
    {SDLK_BACKSPACE, 8},
    {SDLK_TAB, 9},
    {SDLK_CLEAR, 12},
    {SDLK_RETURN, 13},
    {SDLK_RETURN2, 13},
    {SDLK_LSHIFT, 16},        // either shift key
    {SDLK_RSHIFT, 16},
    {SDLK_LCTRL, 17},         // either control key
    {SDLK_RCTRL, 17},
    {SDLK_LALT, 18},          // either alt key
    {SDLK_RALT, 18},
    {SDLK_MODE, 18},          // AltGr, where the layout makes it a mode switch
    {SDLK_PAUSE, 19},
    {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},
    {SDLK_SPACE, 32},
    {SDLK_PAGEUP, 33},
    {SDLK_PRIOR, 33},
    {SDLK_PAGEDOWN, 34},
    {SDLK_END, 35},
    {SDLK_HOME, 36},
    {SDLK_LEFT, 37},
    {SDLK_UP, 38},
    {SDLK_RIGHT, 39},
    {SDLK_DOWN, 40},
    {SDLK_SELECT, 41},
    {SDLK_EXECUTE, 43},
    {SDLK_PRINTSCREEN, 44},
    {SDLK_SYSREQ, 44},        // Alt+Print Screen
    {SDLK_INSERT, 45},
    {SDLK_DELETE, 46},
    {SDLK_HELP, 47},
    {SDLK_LGUI, 91},          // the left and right Windows keys
    {SDLK_RGUI, 92},
    {SDLK_APPLICATION, 93},   // the context-menu key ("Apps")
    {SDLK_MENU, 93},
    {SDLK_SLEEP, 95},
    {SDLK_SEPARATOR, 108},
    {SDLK_NUMLOCKCLEAR, 144},
    {SDLK_SCROLLLOCK, 145},
    {SDLK_CRSEL, 247},
    {SDLK_EXSEL, 248},
};

// The keypad, by key code, whatever Num Lock says: digits 96-105, then its operators.
constexpr std::pair<SDL_Keycode, int16_t> kKeypadKeys[] = {
    {SDLK_KP_0, 96},
    {SDLK_KP_1, 97},
    {SDLK_KP_2, 98},
    {SDLK_KP_3, 99},
    {SDLK_KP_4, 100},
    {SDLK_KP_5, 101},
    {SDLK_KP_6, 102},
    {SDLK_KP_7, 103},
    {SDLK_KP_8, 104},
    {SDLK_KP_9, 105},
    {SDLK_KP_MULTIPLY, 106},
    {SDLK_KP_PLUS, 107},
    {SDLK_KP_COMMA, 108},       // the separator of Brazilian and Japanese keypads
    {SDLK_KP_MINUS, 109},
    {SDLK_KP_PERIOD, 110},      // the decimal key, whichever sign it types
    {SDLK_KP_DIVIDE, 111},
    {SDLK_KP_ENTER, 13},        // Enter, as the main one
    {SDLK_KP_EQUALS, 146},      // the keypad's "=" (Apple and NEC keyboards)
    {SDLK_KP_EQUALSAS400, 146},
    {SDLK_KP_CLEAR, 12},        // Clear, as the keypad's 5 without Num Lock
};

// The media and browser keys, by key code: 166-183 in Windows' order.
constexpr std::pair<SDL_Keycode, int16_t> kMediaKeys[] = {
    {SDLK_AC_BACK, 166},      // browser back
    {SDLK_AC_FORWARD, 167},   // browser forward
    {SDLK_AC_REFRESH, 168},   // browser refresh
    {SDLK_AC_STOP, 169},      // browser stop
    {SDLK_AC_SEARCH, 170},    // browser search
    {SDLK_AC_BOOKMARKS, 171}, // browser favourites
    {SDLK_AC_HOME, 172},      // browser home
    {SDLK_WWW, 172},          // the browser key
    {SDLK_MUTE, 173},         // volume mute
    {SDLK_AUDIOMUTE, 173},
    {SDLK_VOLUMEDOWN, 174},   // volume down
    {SDLK_VOLUMEUP, 175},     // volume up
    {SDLK_AUDIONEXT, 176},    // next track
    {SDLK_AUDIOPREV, 177},    // previous track
    {SDLK_AUDIOSTOP, 178},    // stop
    {SDLK_AUDIOPLAY, 179},    // play/pause
    {SDLK_MAIL, 180},         // start mail
    {SDLK_MEDIASELECT, 181},  // select media
    {SDLK_APP1, 182},         // start application 1
    {SDLK_COMPUTER, 182},     // "My Computer", application 1 on Windows keyboards
    {SDLK_APP2, 183},         // start application 2
    {SDLK_CALCULATOR, 183},   // the calculator key, application 2 on Windows keyboards
};

// The punctuation keys, by their place (scan code): each takes the code of the US key there,
// whatever the layout types on it, so a German "ü" is 219 and "ö" 186. The character of the US
// key lets a punctuation key that a layout moved onto a letter's place keep its code.
struct PunctuationKey {
  SDL_Scancode place;
  SDL_Keycode usCharacter;  // SDLK_UNKNOWN where a US keyboard has no key there
  int16_t code;
};
constexpr PunctuationKey kPunctuationKeys[] = {
    {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, 186},       // German ö, Cyrillic ж
    {SDL_SCANCODE_EQUALS, SDLK_EQUALS, 187},             // German ´
    {SDL_SCANCODE_COMMA, SDLK_COMMA, 188},
    {SDL_SCANCODE_MINUS, SDLK_MINUS, 189},               // German ß
    {SDL_SCANCODE_PERIOD, SDLK_PERIOD, 190},
    {SDL_SCANCODE_SLASH, SDLK_SLASH, 191},               // German -
    {SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE, 192},           // German ^, Japanese hankaku/zenkaku
    {SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET, 219},   // German ü
    {SDL_SCANCODE_BACKSLASH, SDLK_BACKSLASH, 220},
    {SDL_SCANCODE_NONUSHASH, SDLK_UNKNOWN, 220},         // the ISO key beside Enter (German #)
    {SDL_SCANCODE_RIGHTBRACKET, SDLK_RIGHTBRACKET, 221}, // German +
    {SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE, 222},          // German ä
    {SDL_SCANCODE_NONUSBACKSLASH, SDLK_UNKNOWN, 226},    // the ISO key beside left shift (<)
    // 223 is left out: no key of a 105-key keyboard has it by its place.
};

// The keys of Japanese and Korean keyboards, by their place, with the codes Windows gives them
// there.
constexpr std::pair<SDL_Scancode, int16_t> kInputMethodKeys[] = {
    {SDL_SCANCODE_INTERNATIONAL1, 226}, // Japanese ro (\ _ beside right shift), the ISO key's code
    {SDL_SCANCODE_INTERNATIONAL2, 21},  // Japanese katakana/hiragana: kana
    {SDL_SCANCODE_INTERNATIONAL3, 220}, // Japanese yen (¥ |), as the US backslash key
    {SDL_SCANCODE_INTERNATIONAL4, 28},  // Japanese henkan: convert
    {SDL_SCANCODE_INTERNATIONAL5, 29},  // Japanese muhenkan: non-convert
    {SDL_SCANCODE_LANG1, 21},           // Korean han/yeong: hangul (the kana code)
    {SDL_SCANCODE_LANG2, 25},           // Korean hanja (the kanji code)
    {SDL_SCANCODE_LANG3, 21},           // katakana: kana
    {SDL_SCANCODE_LANG4, 21},           // hiragana: kana
    {SDL_SCANCODE_LANG5, 25},           // zenkaku/hankaku: kanji, as with an input method on
};

// clang-format on

template <class Key, size_t N>
int16_t Find(const std::pair<Key, int16_t> (&table)[N], Key key) {
  for (const auto& [tableKey, code] : table)
    if (tableKey == key) return code;
  return 0;
}

}  // namespace

int16_t VirtualKeyCode(const SDL_Keysym& key) {
  const SDL_Keycode sym = key.sym;
  if (sym >= SDLK_a && sym <= SDLK_z) return static_cast<int16_t>('A' + (sym - SDLK_a));
  if (sym >= SDLK_0 && sym <= SDLK_9) return static_cast<int16_t>('0' + (sym - SDLK_0));
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return static_cast<int16_t>(112 + (sym - SDLK_F1));
  if (sym >= SDLK_F13 && sym <= SDLK_F24) return static_cast<int16_t>(124 + (sym - SDLK_F13));
  if (const int16_t code = Find(kControlKeys, sym)) return code;
  if (const int16_t code = Find(kKeypadKeys, sym)) return code;
  if (const int16_t code = Find(kMediaKeys, sym)) return code;

  // What is left types a character that is no ASCII letter or digit, or has no key code SDL can
  // name: its place decides.
  const SDL_Scancode place = key.scancode;
  if (place >= SDL_SCANCODE_A && place <= SDL_SCANCODE_Z) {
    for (const PunctuationKey& punctuation : kPunctuationKeys)
      if (punctuation.usCharacter != SDLK_UNKNOWN && punctuation.usCharacter == sym)
        return punctuation.code;  // French "," where US has M
    return static_cast<int16_t>('A' + (place - SDL_SCANCODE_A));
  }
  if (place >= SDL_SCANCODE_1 && place <= SDL_SCANCODE_9)
    return static_cast<int16_t>('1' + (place - SDL_SCANCODE_1));
  if (place == SDL_SCANCODE_0) return '0';
  for (const PunctuationKey& punctuation : kPunctuationKeys)
    if (punctuation.place == place) return punctuation.code;
  return Find(kInputMethodKeys, place);
}

int16_t ShiftBits(uint16_t modifiers) {
  int16_t bits = 0;
  if (modifiers & KMOD_SHIFT) bits |= 1;
  if (modifiers & KMOD_CTRL) bits |= 2;
  if (modifiers & KMOD_ALT) bits |= 4;
  return bits;
}

}  // namespace ombrevale
