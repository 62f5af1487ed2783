#include "backends/win32/KeyState.h"

namespace ombrevale {

int16_t VirtualKeyOf(WPARAM virtualKey) {
  // Virtual-key codes run from 1 to 254; 255 is "no key" (some keyboards' extra scan codes).
  if (virtualKey == 0 || virtualKey >= 255) return 0;
  return static_cast<int16_t>(virtualKey);
}

int16_t ShiftState() {
  const auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
  return ShiftBits(down(VK_SHIFT), down(VK_CONTROL), down(VK_MENU));
}

}  // namespace ombrevale
