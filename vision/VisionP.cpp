#include "vision/VisionP.h"

#include "app/Form1.h"

namespace ombrevale {

void VisionP::BlitJitter(const PictureBox& source, uint32_t rop) {
  Surface& canvas = form_.PicTitle1.hDC();
  const float a = random_.Rnd();
  const float b = random_.Rnd();
  const int x = RoundHalfEven(a * 2);
  const int y = RoundHalfEven(b * 2);
  BitBlt(canvas, x, y, 400, 300, source.hDC(), 0, 0, rop);
}

void VisionP::DrawVision() {
  // The jittered black background; the layers of the vision are drawn over it.
  BlitJitter(form_.PicBlack, SRCCOPY);
  form_.RefreshCanvas();
}

}  // namespace ombrevale
