#include "platform/keys/KeyPlaces.h"

namespace ombrevale {
namespace {

// One key to a line, so that each can say what it is.
// clang-format off
constexpr KeyPlace kPlaces[] = {
    {"KeyA", 0x04, 0, 65},
    {"KeyB", 0x05, 0, 66},
    {"KeyC", 0x06, 0, 67},
    {"KeyD", 0x07, 0, 68},
    {"KeyE", 0x08, 0, 69},
    {"KeyF", 0x09, 0, 70},
    {"KeyG", 0x0A, 0, 71},
    {"KeyH", 0x0B, 0, 72},
    {"KeyI", 0x0C, 0, 73},
    {"KeyJ", 0x0D, 0, 74},
    {"KeyK", 0x0E, 0, 75},
    {"KeyL", 0x0F, 0, 76},
    {"KeyM", 0x10, 0, 77},
    {"KeyN", 0x11, 0, 78},
    {"KeyO", 0x12, 0, 79},
    {"KeyP", 0x13, 0, 80},
    {"KeyQ", 0x14, 0, 81},
    {"KeyR", 0x15, 0, 82},
    {"KeyS", 0x16, 0, 83},
    {"KeyT", 0x17, 0, 84},
    {"KeyU", 0x18, 0, 85},
    {"KeyV", 0x19, 0, 86},
    {"KeyW", 0x1A, 0, 87},
    {"KeyX", 0x1B, 0, 88},
    {"KeyY", 0x1C, 0, 89},
    {"KeyZ", 0x1D, 0, 90},
    {"Digit1", 0x1E, 0, 49},
    {"Digit2", 0x1F, 0, 50},
    {"Digit3", 0x20, 0, 51},
    {"Digit4", 0x21, 0, 52},
    {"Digit5", 0x22, 0, 53},
    {"Digit6", 0x23, 0, 54},
    {"Digit7", 0x24, 0, 55},
    {"Digit8", 0x25, 0, 56},
    {"Digit9", 0x26, 0, 57},
    {"Digit0", 0x27, 0, 48},
    {"Enter", 0x28, '\r', 13},
    {"Escape", 0x29, '\x1b', 27},
    {"Backspace", 0x2A, '\b', 8},
    {"Tab", 0x2B, '\t', 9},
    {"Space", 0x2C, ' ', 32},
    {"Minus", 0x2D, '-', 189},               // German ß
    {"Equal", 0x2E, '=', 187},               // German ´
    {"BracketLeft", 0x2F, '[', 219},         // German ü
    {"BracketRight", 0x30, ']', 221},        // German +
    {"Backslash", 0x31, '\\', 220},
    {"", 0x32, 0, 220},                      // the ISO key beside Enter (German #); browsers call it Backslash too
    {"Semicolon", 0x33, ';', 186},           // German ö, Cyrillic ж
    {"Quote", 0x34, '\'', 222},              // German ä
    {"Backquote", 0x35, '`', 192},           // German ^, Japanese hankaku/zenkaku
    {"Comma", 0x36, ',', 188},
    {"Period", 0x37, '.', 190},
    {"Slash", 0x38, '/', 191},               // German -
    {"CapsLock", 0x39, 0, 20},
    {"F1", 0x3A, 0, 112},
    {"F2", 0x3B, 0, 113},
    {"F3", 0x3C, 0, 114},
    {"F4", 0x3D, 0, 115},
    {"F5", 0x3E, 0, 116},
    {"F6", 0x3F, 0, 117},
    {"F7", 0x40, 0, 118},
    {"F8", 0x41, 0, 119},
    {"F9", 0x42, 0, 120},
    {"F10", 0x43, 0, 121},
    {"F11", 0x44, 0, 122},
    {"F12", 0x45, 0, 123},
    {"PrintScreen", 0x46, 0, 44},
    {"ScrollLock", 0x47, 0, 145},
    {"Pause", 0x48, 0, 19},
    {"Insert", 0x49, 0, 45},
    {"Home", 0x4A, 0, 36},
    {"PageUp", 0x4B, 0, 33},
    {"Delete", 0x4C, '\x7f', 46},
    {"End", 0x4D, 0, 35},
    {"PageDown", 0x4E, 0, 34},
    {"ArrowRight", 0x4F, 0, 39},
    {"ArrowLeft", 0x50, 0, 37},
    {"ArrowDown", 0x51, 0, 40},
    {"ArrowUp", 0x52, 0, 38},
    {"NumLock", 0x53, 0, 144},
    {"NumpadDivide", 0x54, 0, 111},
    {"NumpadMultiply", 0x55, 0, 106},
    {"NumpadSubtract", 0x56, 0, 109},
    {"NumpadAdd", 0x57, 0, 107},
    {"NumpadEnter", 0x58, 0, 13},            // Enter, as the main one
    {"Numpad1", 0x59, 0, 97},
    {"Numpad2", 0x5A, 0, 98},
    {"Numpad3", 0x5B, 0, 99},
    {"Numpad4", 0x5C, 0, 100},
    {"Numpad5", 0x5D, 0, 101},
    {"Numpad6", 0x5E, 0, 102},
    {"Numpad7", 0x5F, 0, 103},
    {"Numpad8", 0x60, 0, 104},
    {"Numpad9", 0x61, 0, 105},
    {"Numpad0", 0x62, 0, 96},
    {"NumpadDecimal", 0x63, 0, 110},         // the decimal key, whichever sign it types
    {"IntlBackslash", 0x64, 0, 226},         // the ISO key beside left shift (<)
    {"ContextMenu", 0x65, 0, 93},            // the context-menu key ("Apps")
    {"NumpadEqual", 0x67, 0, 146},           // the keypad's "=" (Apple and NEC keyboards)
    {"F13", 0x68, 0, 124},
    {"F14", 0x69, 0, 125},
    {"F15", 0x6A, 0, 126},
    {"F16", 0x6B, 0, 127},
    {"F17", 0x6C, 0, 128},
    {"F18", 0x6D, 0, 129},
    {"F19", 0x6E, 0, 130},
    {"F20", 0x6F, 0, 131},
    {"F21", 0x70, 0, 132},
    {"F22", 0x71, 0, 133},
    {"F23", 0x72, 0, 134},
    {"F24", 0x73, 0, 135},
    {"Open", 0x74, 0, 43},                   // Execute
    {"Help", 0x75, 0, 47},
    {"", 0x76, 0, 93},                       // Menu
    {"Select", 0x77, 0, 41},
    {"AudioVolumeMute", 0x7F, 0, 173},
    {"AudioVolumeUp", 0x80, 0, 175},
    {"AudioVolumeDown", 0x81, 0, 174},
    {"NumpadComma", 0x85, 0, 108},           // the separator of Brazilian and Japanese keypads
    {"", 0x86, 0, 146},                      // the keypad "=" of AS/400 keyboards
    {"IntlRo", 0x87, 0, 226},                // Japanese ro (\ _ beside right shift), the ISO key's code
    {"KanaMode", 0x88, 0, 21},               // Japanese katakana/hiragana: kana
    {"IntlYen", 0x89, 0, 220},               // Japanese yen (¥ |), as the US backslash key
    {"Convert", 0x8A, 0, 28},                // Japanese henkan
    {"NonConvert", 0x8B, 0, 29},             // Japanese muhenkan
    {"Lang1", 0x90, 0, 21},                  // Korean han/yeong: hangul (the kana code)
    {"Lang2", 0x91, 0, 25},                  // Korean hanja (the kanji code)
    {"Lang3", 0x92, 0, 21},                  // katakana: kana
    {"Lang4", 0x93, 0, 21},                  // hiragana: kana
    {"Lang5", 0x94, 0, 25},                  // zenkaku/hankaku: kanji, as with an input method on
    {"", 0x9A, 0, 44},                       // SysReq: Alt+Print Screen
    {"", 0x9B, 0, 3},                        // Cancel: Ctrl+Break
    {"", 0x9C, 0, 12},                       // Clear
    {"", 0x9D, 0, 33},                       // Prior: page up
    {"", 0x9E, 0, 13},                       // Return, the second one
    {"", 0x9F, 0, 108},                      // Separator
    {"", 0xA3, 0, 247},                      // CrSel
    {"", 0xA4, 0, 248},                      // ExSel
    {"NumpadClear", 0xD8, 0, 12},            // Clear, as the keypad's 5 without Num Lock
    {"ControlLeft", 0xE0, 0, 17},
    {"ShiftLeft", 0xE1, 0, 16},
    {"AltLeft", 0xE2, 0, 18},
    {"MetaLeft", 0xE3, 0, 91},               // the left Windows key
    {"ControlRight", 0xE4, 0, 17},
    {"ShiftRight", 0xE5, 0, 16},
    {"AltRight", 0xE6, 0, 18},               // also AltGr
    {"MetaRight", 0xE7, 0, 92},              // the right Windows key
    {"BrowserBack", 0x00, 0, 166},
    {"BrowserForward", 0x00, 0, 167},
    {"BrowserRefresh", 0x00, 0, 168},
    {"BrowserStop", 0x00, 0, 169},
    {"BrowserSearch", 0x00, 0, 170},
    {"BrowserFavorites", 0x00, 0, 171},
    {"BrowserHome", 0x00, 0, 172},
    {"MediaTrackNext", 0x00, 0, 176},
    {"MediaTrackPrevious", 0x00, 0, 177},
    {"MediaStop", 0x00, 0, 178},
    {"MediaPlayPause", 0x00, 0, 179},
    {"LaunchMail", 0x00, 0, 180},
    {"MediaSelect", 0x00, 0, 181},
    {"LaunchApp1", 0x00, 0, 182},            // "My Computer" on Windows keyboards
    {"LaunchApp2", 0x00, 0, 183},            // the calculator key on Windows keyboards
    {"Sleep", 0x00, 0, 95},
};
// clang-format on

}  // namespace

std::span<const KeyPlace> KeyPlaces() {
  return kPlaces;
}

const KeyPlace* KeyPlaceNamed(std::string_view name) {
  if (name.empty()) return nullptr;
  for (const KeyPlace& place : kPlaces)
    if (place.name == name) return &place;
  return nullptr;
}

const KeyPlace* KeyPlaceOfUsage(uint16_t usage) {
  if (usage == 0) return nullptr;
  for (const KeyPlace& place : kPlaces)
    if (place.usage == usage) return &place;
  return nullptr;
}

const KeyPlace* KeyPlaceTyping(char32_t character) {
  if (character == 0) return nullptr;
  for (const KeyPlace& place : kPlaces)
    if (place.typed == character) return &place;
  return nullptr;
}

}  // namespace ombrevale
