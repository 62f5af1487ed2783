#include "platform/sdl/KeyMap.h"

#include <gtest/gtest.h>

namespace ombrevale {
namespace {

TEST(KeyMap, GivesTheClassicVirtualKeyCodes) {
  // Letters are upper case whatever the shift state: SDL reports the unshifted key.
  EXPECT_EQ(VirtualKeyCode(SDLK_a), 65);
  EXPECT_EQ(VirtualKeyCode(SDLK_x), 88);
  EXPECT_EQ(VirtualKeyCode(SDLK_z), 90);
  EXPECT_EQ(VirtualKeyCode(SDLK_0), 48);
  EXPECT_EQ(VirtualKeyCode(SDLK_9), 57);
  EXPECT_EQ(VirtualKeyCode(SDLK_F1), 112);
  EXPECT_EQ(VirtualKeyCode(SDLK_F12), 123);
  EXPECT_EQ(VirtualKeyCode(SDLK_KP_0), 96);
  EXPECT_EQ(VirtualKeyCode(SDLK_KP_5), 101);
  EXPECT_EQ(VirtualKeyCode(SDLK_KP_9), 105);

  const std::pair<SDL_Keycode, int> named[] = {
      {SDLK_BACKSPACE, 8},      {SDLK_TAB, 9},           {SDLK_RETURN, 13},
      {SDLK_KP_ENTER, 13},      {SDLK_LSHIFT, 16},       {SDLK_RSHIFT, 16},
      {SDLK_LCTRL, 17},         {SDLK_RCTRL, 17},        {SDLK_LALT, 18},
      {SDLK_RALT, 18},          {SDLK_PAUSE, 19},        {SDLK_CAPSLOCK, 20},
      {SDLK_ESCAPE, 27},        {SDLK_SPACE, 32},        {SDLK_PAGEUP, 33},
      {SDLK_PAGEDOWN, 34},      {SDLK_END, 35},          {SDLK_HOME, 36},
      {SDLK_LEFT, 37},          {SDLK_UP, 38},           {SDLK_RIGHT, 39},
      {SDLK_DOWN, 40},          {SDLK_INSERT, 45},       {SDLK_DELETE, 46},
      {SDLK_SEMICOLON, 186},    {SDLK_EQUALS, 187},      {SDLK_COMMA, 188},
      {SDLK_MINUS, 189},        {SDLK_PERIOD, 190},      {SDLK_SLASH, 191},
      {SDLK_BACKQUOTE, 192},    {SDLK_LEFTBRACKET, 219}, {SDLK_BACKSLASH, 220},
      {SDLK_RIGHTBRACKET, 221}, {SDLK_QUOTE, 222},
  };
  for (const auto& [key, code] : named) EXPECT_EQ(VirtualKeyCode(key), code) << SDL_GetKeyName(key);

  // Keys without a classic code are not delivered.
  EXPECT_EQ(VirtualKeyCode(SDLK_UNKNOWN), 0);
  EXPECT_EQ(VirtualKeyCode(SDLK_AUDIOPLAY), 0);
  EXPECT_EQ(VirtualKeyCode(0xE9), 0);  // a layout's accented letter
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
