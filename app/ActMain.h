#pragma once

#include <cstdint>

namespace ombrevale {

// The main page's key action. It takes no action in this version and leaves the code as it is.
void MainKeyDown(int16_t& KeyCode);

}  // namespace ombrevale
