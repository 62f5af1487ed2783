#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Random.h"
#include "vision/VisionPictures.h"

namespace ombrevale {

// What a layer of the title canvas shows.
enum LayerKind : int16_t {
  kLayerFace = 0,
  kLayerBigEye = 1,
  kLayerViews = 2,
  kLayerWire = 3,
  kLayerTv = 4,
  kLayerNoise = 5,
  kLayerNothing = 6,
};

// The steps of the eye blink, as EyeStep holds them: the open eye while idle; a slow blink of ten
// steps (closing, shut for a while, opening); a quick blink of four.
enum EyeStepCode : int16_t {
  kEyeOpen = 0,
  kSlowBlinkFirst = 1,
  kSlowBlinkShut = 4,  // 4, 5 and 6: shut, held at random
  kSlowBlinkLast = 10,
  kQuickBlinkFirst = 101,
  kQuickBlinkLast = 104,
};

// One blit onto the canvas, as the vision asked for it.
struct CanvasBlit {
  const Surface* source;
  int x, y, width, height, sourceX, sourceY;
  uint32_t rop;
};

// The title vision: a jittered black background and one or two layers chosen at random, painted
// into the canvas it is handed (PicTitle1), and the clock two years ahead in the label it is
// handed (LabMain1). It never shows the canvas: whoever runs a frame composes it, shows it, and
// then lets the vision roll for the coming frames and write the clock.
//
// Every random value is drawn from the shared random source in a fixed order, so that the same
// values always compose the same frames.
class VisionP {
 public:
  VisionP(PictureBox& canvas, const VisionPictures& pictures, Label& clockLabel, Random& random,
          Clock& clock)
      : canvas_(canvas),
        pictures_(pictures),
        clockLabel_(clockLabel),
        random_(random),
        clock_(clock) {}

  // The picture of one frame: the background, then the painter of the lower layer and, when the
  // upper layer holds another state, the painter of the upper one over it.
  void ComposeFrame();
  // After the frame is shown: the rolls that decide the layers of the coming frames and whether
  // the television carries noise.
  void RollTransitions();

  // Lays a whole 400 x 300 picture over the canvas, displaced by 0, 1 or 2 pixels on each axis
  // at random (two draws, rounded half to even), with the raster operation given.
  void BlitJitter(const PictureBox& source, uint32_t rop);
  // ORs the 150 x 60 eye picture onto the face at (60 or 61, 140 or 141) (two draws, floor).
  void BlitEye(const PictureBox& source);
  // XORs count + 1 blocks of 25 x 25 pixels, cut from random places of the noise picture, onto
  // random places of the canvas (four draws a block); none for a negative count.
  void NoiseBurst(int16_t count);

  // The painters of the layers, one per layer kind.
  void PaintFace();
  void PaintBigEye();
  void PaintViews();
  void PaintWire();
  void PaintTv();
  void PaintNoise();

  // One step of the eye blink: draws the eyes of the face and moves the blink on.
  void AnimateEyes();

  // Rewrites the clock in LabMain1 when the seconds have changed: the date and time of now, with
  // the year two ahead. A date-time text the clock cannot read leaves the caption as it was.
  void UpdateClock();

  // Lower layer [0] and upper layer [1]; each a LayerKind.
  std::array<int16_t, 2> LayerState{kLayerFace, kLayerFace};
  // Nonzero: the television shows no noise of its own.
  uint8_t NoiseMute = 0;
  // An EyeStepCode: 0 idle; 1 to 10 a slow blink; 101 to 104 a quick blink.
  int16_t EyeStep = kEyeOpen;
  // The seconds of the clock caption written last.
  int16_t LastSecond = 0;

  // Sees every blit the vision makes, before it is made (for tests and tools; empty by default).
  std::function<void(const CanvasBlit&)> OnBlit;

 private:
  void Blit(int x, int y, int w, int h, const Surface& source, int sx, int sy, uint32_t rop);
  void PaintLayer(int16_t state);

  PictureBox& canvas_;
  const VisionPictures& pictures_;
  Label& clockLabel_;
  Random& random_;
  Clock& clock_;
};

}  // namespace ombrevale
