#pragma once

#include <cstdint>

#include "platform/Controls.h"
#include "platform/Random.h"

namespace ombrevale {

class Form1;

// The title vision on the canvas PicTitle1.
class VisionP {
 public:
  VisionP(Form1& form, Random& random) : form_(form), random_(random) {}

  // Slot 2: one frame of the title vision, shown on screen at once.
  void DrawVision();

  // Lays a whole 400 x 300 picture over the canvas, displaced by 0, 1 or 2 pixels on each axis
  // at random (two draws, rounded half to even), with the raster operation given.
  void BlitJitter(const PictureBox& source, uint32_t rop);

 private:
  Form1& form_;
  Random& random_;
};

}  // namespace ombrevale
