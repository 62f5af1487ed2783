#include "backends/win32/MotionSetting.h"

#include "backends/win32/WindowsApi.h"

namespace ombrevale {

bool WindowsShowsAnimations() {
  BOOL on = TRUE;
  if (!SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &on, 0)) return true;
  return on != FALSE;
}

}  // namespace ombrevale
