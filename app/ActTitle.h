#pragma once

#include <cstdint>

namespace ombrevale {

// The title page's key action. It takes no action in this version and leaves the code as it is.
void TitleKeyDown(int16_t& KeyCode);

}  // namespace ombrevale
