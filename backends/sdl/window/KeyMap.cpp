#include "backends/sdl/window/KeyMap.h"

#include <utility>

#include "platform/keys/KeyPlaces.h"

namespace ombrevale {
namespace {

// SDL's scan codes below 256 are the USB keyboard page's usages; above, it numbers the media and
// browser keys itself. Those, by the name the key table knows them by.
// clang-format off
constexpr std::pair<SDL_Scancode, std::string_view> kSdlOwnPlaces[] = {
    {SDL_SCANCODE_MODE, "AltRight"},          // AltGr, where the layout makes it a mode switch
    {SDL_SCANCODE_AUDIONEXT, "MediaTrackNext"},
    {SDL_SCANCODE_AUDIOPREV, "MediaTrackPrevious"},
    {SDL_SCANCODE_AUDIOSTOP, "MediaStop"},
    {SDL_SCANCODE_AUDIOPLAY, "MediaPlayPause"},
    {SDL_SCANCODE_AUDIOMUTE, "AudioVolumeMute"},
    {SDL_SCANCODE_MEDIASELECT, "MediaSelect"},
    {SDL_SCANCODE_WWW, "BrowserHome"},        // the browser key
    {SDL_SCANCODE_MAIL, "LaunchMail"},
    {SDL_SCANCODE_CALCULATOR, "LaunchApp2"},
    {SDL_SCANCODE_COMPUTER, "LaunchApp1"},
    {SDL_SCANCODE_AC_SEARCH, "BrowserSearch"},
    {SDL_SCANCODE_AC_HOME, "BrowserHome"},
    {SDL_SCANCODE_AC_BACK, "BrowserBack"},
    {SDL_SCANCODE_AC_FORWARD, "BrowserForward"},
    {SDL_SCANCODE_AC_STOP, "BrowserStop"},
    {SDL_SCANCODE_AC_REFRESH, "BrowserRefresh"},
    {SDL_SCANCODE_AC_BOOKMARKS, "BrowserFavorites"},
    {SDL_SCANCODE_SLEEP, "Sleep"},
    {SDL_SCANCODE_APP1, "LaunchApp1"},
    {SDL_SCANCODE_APP2, "LaunchApp2"},
};
// clang-format on

// The row of the key table for an SDL scan code, or nothing.
const KeyPlace* PlaceOf(SDL_Scancode scancode) {
  if (scancode > 0 && scancode < 256) return KeyPlaceOfUsage(static_cast<uint16_t>(scancode));
  for (const auto& [own, name] : kSdlOwnPlaces)
    if (own == scancode) return KeyPlaceNamed(name);
  return nullptr;
}

// A key code that is a control character: Enter, Escape, Backspace, Tab, Space, Delete.
bool ControlCharacter(SDL_Keycode sym) {
  return (sym > 0 && sym <= ' ') || sym == SDLK_DELETE;
}

}  // namespace

int16_t VirtualKeyCode(const SDL_Keysym& key) {
  const SDL_Keycode sym = key.sym;
  // Letters and digits by what the layout types, so a layout's own letters keep their codes.
  if (sym >= SDLK_a && sym <= SDLK_z) return static_cast<int16_t>('A' + (sym - SDLK_a));
  if (sym >= SDLK_0 && sym <= SDLK_9) return static_cast<int16_t>('0' + (sym - SDLK_0));
  // Keys that type no character by the key the layout made them, so a user's remapping holds:
  // SDL names them by a scan code of their own, or by their control character.
  if (sym & SDLK_SCANCODE_MASK) {
    if (const KeyPlace* named = PlaceOf(static_cast<SDL_Scancode>(sym & ~SDLK_SCANCODE_MASK)))
      return named->code;
  } else if (ControlCharacter(sym)) {
    if (const KeyPlace* typing = KeyPlaceTyping(static_cast<char32_t>(sym))) return typing->code;
  }

  // What is left types a character that is no ASCII letter or digit: its place decides, as in
  // the table. The character of the US key lets a punctuation key that a layout moved onto a
  // letter's place keep its code (French "," where US has M).
  const KeyPlace* place = PlaceOf(key.scancode);
  if (place == nullptr) return 0;
  if (key.scancode >= SDL_SCANCODE_A && key.scancode <= SDL_SCANCODE_Z && sym > ' ' && sym < 0x7F) {
    if (const KeyPlace* typing = KeyPlaceTyping(static_cast<char32_t>(sym))) return typing->code;
  }
  return place->code;
}

int16_t ShiftBits(uint16_t modifiers) {
  return ShiftBits((modifiers & KMOD_SHIFT) != 0, (modifiers & KMOD_CTRL) != 0,
                   (modifiers & KMOD_ALT) != 0);
}

}  // namespace ombrevale
