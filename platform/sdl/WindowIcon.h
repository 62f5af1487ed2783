#pragma once

#include "platform/sdl/SdlHandles.h"

namespace ombrevale {

// The window's icon: a stylised eye, pink on dark blue, 32 x 32 pixels in a palette of a few
// colours (a 256-colour icon at most).
SurfacePtr MakeWindowIcon();

}  // namespace ombrevale
