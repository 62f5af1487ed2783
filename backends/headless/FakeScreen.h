#pragma once

// The screen the desktops of runs without a display pretend to have: 1024 x 768 pixels, in twips.

#include "platform/Controls.h"

namespace ombrevale {

inline constexpr float kFakeScreenWidth = 1024 * kTwipsPerPixel;  // 15360
inline constexpr float kFakeScreenHeight = 768 * kTwipsPerPixel;  // 11520

}  // namespace ombrevale
