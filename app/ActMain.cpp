#include "app/ActMain.h"

namespace ombrevale {

void MainKeyDown(int16_t& /*KeyCode*/) {}

}  // namespace ombrevale
