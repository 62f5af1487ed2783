#pragma once

// The key handler's view of a key press on Windows: the virtual-key code of WM_KEYDOWN, which is
// the classic code the handler expects, as the user's layout gives it, and the shift state.

#include <cstdint>

#include "backends/win32/WindowsApi.h"
#include "platform/keys/KeyPlaces.h"

namespace ombrevale {

// The key code of a WM_KEYDOWN or WM_SYSKEYDOWN whose wParam is `virtualKey`; 0 for none.
int16_t VirtualKeyOf(WPARAM virtualKey);

// The shift state now (platform/keys): 1 shift, 2 control, 4 alt, added up.
int16_t ShiftState();

}  // namespace ombrevale
