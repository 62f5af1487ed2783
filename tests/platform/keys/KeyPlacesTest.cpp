#include "platform/keys/KeyPlaces.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace ombrevale {
namespace {

TEST(KeyPlaces, EachPlaceIsNamedAndNumberedOnceAndGivesAClassicCode) {
  std::set<std::string_view> names;
  std::set<uint16_t> usages;
  for (const KeyPlace& place : KeyPlaces()) {
    EXPECT_TRUE(place.name.empty() || names.insert(place.name).second) << place.name;
    EXPECT_TRUE(place.usage == 0 || usages.insert(place.usage).second) << place.usage;
    EXPECT_FALSE(place.name.empty() && place.usage == 0) << "a place no desktop can find";
    EXPECT_GT(place.code, 0) << place.name;
    EXPECT_LT(place.code, 256) << place.name;
    // Each reader finds the row it looks for.
    if (!place.name.empty()) {
      EXPECT_EQ(KeyPlaceNamed(place.name), &place);
    }
    if (place.usage != 0) {
      EXPECT_EQ(KeyPlaceOfUsage(place.usage), &place);
    }
  }
  EXPECT_EQ(KeyPlaceNamed(""), nullptr);
  EXPECT_EQ(KeyPlaceNamed("Fn"), nullptr);  // a key no keyboard reports
  EXPECT_EQ(KeyPlaceOfUsage(0), nullptr);
}

TEST(KeyPlaces, BrowserNamesGiveTheDesktopCodesOfTheirPlaces) {
  const std::pair<const char*, int> expected[] = {
      {"KeyA", 65},
      {"KeyZ", 90},
      {"Digit0", 48},
      {"Digit9", 57},
      {"Enter", 13},
      {"NumpadEnter", 13},
      {"Escape", 27},
      {"Space", 32},
      {"ArrowLeft", 37},
      {"ArrowDown", 40},
      {"F1", 112},
      {"F24", 135},
      {"Semicolon", 186},
      {"Equal", 187},
      {"Comma", 188},
      {"Minus", 189},
      {"Period", 190},
      {"Slash", 191},
      {"Backquote", 192},
      {"BracketLeft", 219},
      {"Backslash", 220},
      {"BracketRight", 221},
      {"Quote", 222},
      {"IntlBackslash", 226},
      {"Numpad0", 96},
      {"Numpad9", 105},
      {"NumpadMultiply", 106},
      {"NumpadAdd", 107},
      {"NumpadSubtract", 109},
      {"NumpadDecimal", 110},
      {"NumpadDivide", 111},
      {"ShiftRight", 16},
      {"ControlLeft", 17},
      {"AltRight", 18},
      {"MetaLeft", 91},
      {"ContextMenu", 93},
      {"IntlRo", 226},
      {"IntlYen", 220},
      {"Convert", 28},
      {"NonConvert", 29},
      {"KanaMode", 21},
      {"Lang1", 21},
      {"Lang2", 25},
      {"AudioVolumeMute", 173},
      {"MediaPlayPause", 179},
      {"BrowserBack", 166},
      {"LaunchApp2", 183},
      {"Sleep", 95},
  };
  for (const auto& [name, code] : expected) {
    const KeyPlace* place = KeyPlaceNamed(name);
    ASSERT_NE(place, nullptr) << name;
    EXPECT_EQ(place->code, code) << name;
  }
}

TEST(KeyPlaces, TheUsKeyOfEachPunctuationAndControlCharacterIsFound) {
  EXPECT_EQ(KeyPlaceTyping(';')->code, 186);
  EXPECT_EQ(KeyPlaceTyping('\'')->code, 222);
  EXPECT_EQ(KeyPlaceTyping('\\')->code, 220);
  EXPECT_EQ(KeyPlaceTyping('\r')->code, 13);
  EXPECT_EQ(KeyPlaceTyping(0x1B)->code, 27);
  EXPECT_EQ(KeyPlaceTyping(0x7F)->code, 46);
  // Letters and digits go by what the layout types, not by a US key: no row types them.
  EXPECT_EQ(KeyPlaceTyping('a'), nullptr);
  EXPECT_EQ(KeyPlaceTyping('7'), nullptr);
  EXPECT_EQ(KeyPlaceTyping(0), nullptr);
}

}  // namespace
}  // namespace ombrevale
