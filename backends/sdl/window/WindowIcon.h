#pragma once

#include "backends/sdl/SdlHandles.h"

namespace ombrevale {

// The window's icon: an open eye glowing on the title page's night blue, 32 x 32 pixels with
// their own transparency. The pixels are compiled in, so the icon can never go missing.
SurfacePtr MakeWindowIcon();

}  // namespace ombrevale
