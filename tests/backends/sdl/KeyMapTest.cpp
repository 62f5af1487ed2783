#include "backends/sdl/window/KeyMap.h"

#include <gtest/gtest.h>

#include "platform/keys/KeyPlaces.h"

namespace ombrevale {
namespace {

// A key press as the window gets it: the key's place (scan code) and what the layout makes of it
// (key code), with the classic code it must give.
struct Press {
  SDL_Scancode place;
  SDL_Keycode sym;
  int code;
  const char* what;
};

// The key code SDL gives a key that types no character: its scan code marked as such.
constexpr SDL_Keycode Named(SDL_Scancode place) {
  return SDL_SCANCODE_TO_KEYCODE(place);
}

void ExpectCodes(std::initializer_list<Press> presses) {
  for (const Press& press : presses) {
    SDL_Keysym key{};
    key.scancode = press.place;
    key.sym = press.sym;
    EXPECT_EQ(VirtualKeyCode(key), press.code) << press.what;
  }
}

TEST(KeyMap, GivesTheClassicCodesOfAUsKeyboard) {
  // Letters are upper case whatever the shift state: SDL reports the unshifted key.
  ExpectCodes({
      {SDL_SCANCODE_A, SDLK_a, 65, "a"},
      {SDL_SCANCODE_X, SDLK_x, 88, "x"},
      {SDL_SCANCODE_Z, SDLK_z, 90, "z"},
      {SDL_SCANCODE_0, SDLK_0, 48, "0"},
      {SDL_SCANCODE_9, SDLK_9, 57, "9"},
      {SDL_SCANCODE_F1, SDLK_F1, 112, "F1"},
      {SDL_SCANCODE_F12, SDLK_F12, 123, "F12"},
      {SDL_SCANCODE_F13, SDLK_F13, 124, "F13"},
      {SDL_SCANCODE_F24, SDLK_F24, 135, "F24"},
      {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 8, "backspace"},
      {SDL_SCANCODE_TAB, SDLK_TAB, 9, "tab"},
      {SDL_SCANCODE_RETURN, SDLK_RETURN, 13, "enter"},
      {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, 16, "left shift"},
      {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, 16, "right shift"},
      {SDL_SCANCODE_LCTRL, SDLK_LCTRL, 17, "left control"},
      {SDL_SCANCODE_RCTRL, SDLK_RCTRL, 17, "right control"},
      {SDL_SCANCODE_LALT, SDLK_LALT, 18, "left alt"},
      {SDL_SCANCODE_RALT, SDLK_RALT, 18, "right alt"},
      {SDL_SCANCODE_PAUSE, SDLK_PAUSE, 19, "pause"},
      {SDL_SCANCODE_CAPSLOCK, SDLK_CAPSLOCK, 20, "caps lock"},
      {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 27, "escape"},
      {SDL_SCANCODE_SPACE, SDLK_SPACE, 32, "space"},
      {SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, 33, "page up"},
      {SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN, 34, "page down"},
      {SDL_SCANCODE_END, SDLK_END, 35, "end"},
      {SDL_SCANCODE_HOME, SDLK_HOME, 36, "home"},
      {SDL_SCANCODE_LEFT, SDLK_LEFT, 37, "left"},
      {SDL_SCANCODE_UP, SDLK_UP, 38, "up"},
      {SDL_SCANCODE_RIGHT, SDLK_RIGHT, 39, "right"},
      {SDL_SCANCODE_DOWN, SDLK_DOWN, 40, "down"},
      {SDL_SCANCODE_PRINTSCREEN, SDLK_PRINTSCREEN, 44, "print screen"},
      {SDL_SCANCODE_INSERT, SDLK_INSERT, 45, "insert"},
      {SDL_SCANCODE_DELETE, SDLK_DELETE, 46, "delete"},
      {SDL_SCANCODE_LGUI, SDLK_LGUI, 91, "left Windows key"},
      {SDL_SCANCODE_APPLICATION, SDLK_APPLICATION, 93, "apps"},
      {SDL_SCANCODE_SLEEP, SDLK_SLEEP, 95, "sleep"},
      {SDL_SCANCODE_NUMLOCKCLEAR, SDLK_NUMLOCKCLEAR, 144, "num lock"},
      {SDL_SCANCODE_SCROLLLOCK, SDLK_SCROLLLOCK, 145, "scroll lock"},
      {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, 186, ";"},
      {SDL_SCANCODE_EQUALS, SDLK_EQUALS, 187, "="},
      {SDL_SCANCODE_COMMA, SDLK_COMMA, 188, ","},
      {SDL_SCANCODE_MINUS, SDLK_MINUS, 189, "-"},
      {SDL_SCANCODE_PERIOD, SDLK_PERIOD, 190, "."},
      {SDL_SCANCODE_SLASH, SDLK_SLASH, 191, "/"},
      {SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE, 192, "`"},
      {SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET, 219, "["},
      {SDL_SCANCODE_BACKSLASH, SDLK_BACKSLASH, 220, "\\"},
      {SDL_SCANCODE_RIGHTBRACKET, SDLK_RIGHTBRACKET, 221, "]"},
      {SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE, 222, "'"},
  });
}

TEST(KeyMap, OtherLayoutsKeepTheirLettersAndGiveEveryOtherKeyTheCodeOfItsPlace) {
  ExpectCodes({
      // German: z and y swap places but keep their letters; the rest goes by place.
      {SDL_SCANCODE_Y, SDLK_z, 90, "German z"},
      {SDL_SCANCODE_Z, SDLK_y, 89, "German y"},
      {SDL_SCANCODE_LEFTBRACKET, 0xFC, 219, "German ü"},
      {SDL_SCANCODE_SEMICOLON, 0xF6, 186, "German ö"},
      {SDL_SCANCODE_APOSTROPHE, 0xE4, 222, "German ä"},
      {SDL_SCANCODE_MINUS, 0xDF, 189, "German ß"},
      {SDL_SCANCODE_SLASH, SDLK_MINUS, 191, "German -"},
      {SDL_SCANCODE_RIGHTBRACKET, SDLK_PLUS, 221, "German +"},
      {SDL_SCANCODE_NONUSHASH, SDLK_HASH, 220, "German #"},
      {SDL_SCANCODE_NONUSBACKSLASH, SDLK_LESS, 226, "German <"},
      {SDL_SCANCODE_GRAVE, Named(SDL_SCANCODE_GRAVE), 192, "German dead ^"},
      // French: a and q swap, m sits where US has ";", and "," where US has m.
      {SDL_SCANCODE_Q, SDLK_a, 65, "French a"},
      {SDL_SCANCODE_A, SDLK_q, 81, "French q"},
      {SDL_SCANCODE_SEMICOLON, SDLK_m, 77, "French m"},
      {SDL_SCANCODE_M, SDLK_COMMA, 188, "French ,"},
      {SDL_SCANCODE_COMMA, SDLK_SEMICOLON, 188, "French ;"},
      {SDL_SCANCODE_2, 0xE9, 50, "French é on the digit row"},
      {SDL_SCANCODE_APOSTROPHE, 0xF9, 222, "French ù"},
      // Cyrillic and Greek letters take the US key at their place.
      {SDL_SCANCODE_Q, 0x439, 81, "Russian й"},
      {SDL_SCANCODE_LEFTBRACKET, 0x445, 219, "Russian х"},
      {SDL_SCANCODE_SEMICOLON, 0x436, 186, "Russian ж"},
      {SDL_SCANCODE_COMMA, 0x431, 188, "Russian б"},
      {SDL_SCANCODE_W, 0x3C2, 87, "Greek ς"},
  });
}

TEST(KeyMap, KeypadMediaAndJapaneseKeysArriveAndOnlyKeysWithoutAClassicCodeAreDropped) {
  ExpectCodes({
      {SDL_SCANCODE_KP_0, SDLK_KP_0, 96, "keypad 0"},
      {SDL_SCANCODE_KP_5, SDLK_KP_5, 101, "keypad 5"},
      {SDL_SCANCODE_KP_9, SDLK_KP_9, 105, "keypad 9"},
      {SDL_SCANCODE_KP_MULTIPLY, SDLK_KP_MULTIPLY, 106, "keypad *"},
      {SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, 107, "keypad +"},
      {SDL_SCANCODE_KP_COMMA, SDLK_KP_COMMA, 108, "keypad separator"},
      {SDL_SCANCODE_KP_MINUS, SDLK_KP_MINUS, 109, "keypad -"},
      {SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, 110, "keypad decimal"},
      {SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, 111, "keypad /"},
      {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 13, "keypad enter"},
      {SDL_SCANCODE_KP_EQUALS, SDLK_KP_EQUALS, 146, "keypad ="},

      {SDL_SCANCODE_AC_BACK, SDLK_AC_BACK, 166, "browser back"},
      {SDL_SCANCODE_AC_BOOKMARKS, SDLK_AC_BOOKMARKS, 171, "browser favourites"},
      {SDL_SCANCODE_AUDIOMUTE, SDLK_AUDIOMUTE, 173, "mute"},
      {SDL_SCANCODE_VOLUMEUP, SDLK_VOLUMEUP, 175, "volume up"},
      {SDL_SCANCODE_AUDIOPLAY, SDLK_AUDIOPLAY, 179, "play/pause"},
      {SDL_SCANCODE_MAIL, SDLK_MAIL, 180, "mail"},
      {SDL_SCANCODE_APP1, SDLK_APP1, 182, "application 1"},
      {SDL_SCANCODE_CALCULATOR, SDLK_CALCULATOR, 183, "calculator"},

      {SDL_SCANCODE_INTERNATIONAL4, Named(SDL_SCANCODE_INTERNATIONAL4), 28, "henkan"},
      {SDL_SCANCODE_INTERNATIONAL5, Named(SDL_SCANCODE_INTERNATIONAL5), 29, "muhenkan"},
      {SDL_SCANCODE_INTERNATIONAL2, Named(SDL_SCANCODE_INTERNATIONAL2), 21, "katakana/hiragana"},
      {SDL_SCANCODE_INTERNATIONAL3, 0xA5, 220, "yen"},
      {SDL_SCANCODE_INTERNATIONAL1, SDLK_BACKSLASH, 226, "ro"},
      {SDL_SCANCODE_LANG1, Named(SDL_SCANCODE_LANG1), 21, "Korean han/yeong"},
      {SDL_SCANCODE_LANG2, Named(SDL_SCANCODE_LANG2), 25, "Korean hanja"},

      {SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN, 0, "unknown key"},
      {SDL_SCANCODE_UNKNOWN, 0xE9, 0, "a letter from no known place"},
      {SDL_SCANCODE_POWER, SDLK_POWER, 0, "power"},
      {SDL_SCANCODE_BRIGHTNESSUP, SDLK_BRIGHTNESSUP, 0, "brightness up"},
      {SDL_SCANCODE_AUDIOFASTFORWARD, SDLK_AUDIOFASTFORWARD, 0, "fast forward"},
  });
}

TEST(KeyMap, EveryPlaceOfTheSharedKeyTableGivesItsCodeOnTheDesktop) {
  // The key table is read by place on the web page; the desktop must give the same codes for a
  // key that SDL names by the same place.
  int checked = 0;
  for (const KeyPlace& place : KeyPlaces()) {
    if (place.usage == 0) continue;
    const auto scancode = static_cast<SDL_Scancode>(place.usage);
    SDL_Keysym key{};
    key.scancode = scancode;
    key.sym = Named(scancode);
    EXPECT_EQ(VirtualKeyCode(key), place.code) << place.name << " (usage " << place.usage << ")";
    ++checked;
  }
  EXPECT_GT(checked, 130);
}

TEST(KeyMap, ShiftBitsAddUpEitherSideOfTheKeyboard) {
  EXPECT_EQ(ShiftBits(KMOD_NONE), 0);
  EXPECT_EQ(ShiftBits(KMOD_LSHIFT), 1);
  EXPECT_EQ(ShiftBits(KMOD_RSHIFT), 1);
  EXPECT_EQ(ShiftBits(KMOD_RCTRL), 2);
  EXPECT_EQ(ShiftBits(KMOD_LALT), 4);
  EXPECT_EQ(ShiftBits(KMOD_LSHIFT | KMOD_RCTRL | KMOD_RALT), 7);
  EXPECT_EQ(ShiftBits(KMOD_NUM | KMOD_CAPS), 0);  // locks are no shift state
}

}  // namespace
}  // namespace ombrevale
