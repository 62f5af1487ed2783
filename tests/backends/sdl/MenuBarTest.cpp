// The menu strip: which entry lies under the pointer, and which entry an access key opens.

#include <gtest/gtest.h>

#include "backends/sdl/boxes/MenuBar.h"
#include "tests/backends/sdl/SdlDesktopKit.h"

namespace ombrevale {
namespace {

TEST_F(SdlDesktopTest, MenuEntriesAreHitInTheirBoxesAndOpenedByTheirAccessKeys) {
  ClientFrame frame;
  Fonts fonts;
  MenuBar menu(frame, fonts);
  menu.SetEntries({"Version", "ébauche", "2nd"});
  // Side by side along the strip, each hit inside its box and nowhere else.
  EXPECT_EQ(menu.EntryAt(4, 10), 0);
  EXPECT_EQ(menu.EntryAt(-1, 10), -1);
  EXPECT_EQ(menu.EntryAt(4, kMenuHeight + 1), -1) << "the page is no entry";
  EXPECT_EQ(menu.EntryAt(kClientWidth - 2, 10), -1) << "past the last entry";

  // Alt and the first letter of the caption, in either case, as the desktop's menus do; no other
  // modifier, no repeat, and only letters.
  const struct {
    int16_t key;
    uint16_t modifiers;
    bool repeat;
    std::optional<int> entry;
  } cases[] = {
      {'V', KMOD_LALT, false, 0},
      {'V', KMOD_RALT, false, 0},
      {'E', KMOD_LALT, false, std::nullopt},  // "é" is no "E"
      {'V', KMOD_NONE, false, std::nullopt},
      {'V', KMOD_LALT | KMOD_LCTRL, false, std::nullopt},
      {'V', KMOD_LALT, true, std::nullopt},
      {'2', KMOD_LALT, false, std::nullopt},
      {'X', KMOD_LALT, false, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(menu.AccessKey(c.key, c.modifiers, c.repeat), c.entry)
        << "key " << c.key << " modifiers " << c.modifiers << " repeat " << c.repeat;
}

}  // namespace
}  // namespace ombrevale
