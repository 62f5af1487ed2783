#include "app/ActTitle.h"

namespace ombrevale {

void TitleKeyDown(int16_t& /*KeyCode*/) {}

}  // namespace ombrevale
