#include "app/DrawVision.h"

namespace ombrevale {

void DrawVision(VisionP& vision, Form1& form) {
  vision.ComposeFrame();
  form.RefreshCanvas();
  vision.RollTransitions();
  vision.UpdateClock();
  form.VisionFrameShown();
}

}  // namespace ombrevale
