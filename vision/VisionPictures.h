#pragma once

// The source pictures the title vision draws from, handed to it by whoever owns them: in the
// program the hidden controls of the window's data page, in a test or a benchmark its own.

#include <array>

#include "platform/Controls.h"

namespace ombrevale {

struct VisionPictures {
  const PictureBox& PicNilu;                    // the face
  const std::array<PictureBox, 5>& PicNiluEye;  // the open eye and the four steps of a blink
  const PictureBox& PicPupil;
  const std::array<PictureBox, 3>& PicNiluHair;
  const PictureBox& PicBlack;                  // the background
  const std::array<PictureBox, 2>& PicBigEye;  // the big eye and its pupil
  const std::array<PictureBox, 4>& PicView;    // view 1 is the mask over the others
  const PictureBox& PicWire;
  const std::array<PictureBox, 2>& PicTv;  // the television's mask and the set
  const PictureBox& PicNoise;              // where the noise blocks are cut from
};

}  // namespace ombrevale
