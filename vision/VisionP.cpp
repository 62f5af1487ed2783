#include "vision/VisionP.h"

#include <array>

#include "platform/PageLayout.h"
#include "platform/raster/BitBlt.h"
#include "vision/ClockCaption.h"

namespace ombrevale {

namespace {

constexpr int kEyeWidth = 150, kEyeHeight = 60, kEyeX = 60, kEyeY = 140;
constexpr int kNoiseBlock = 25;
constexpr int16_t kTvNoiseBlocks = 100;  // a burst of 101 blocks

// One step of the eye blink: the eye picture it shows, whether the pupil goes over it, and the
// step that follows.
struct BlinkStep {
  int16_t step;
  int eyePicture;  // 0 open, 1 to 4 ever more shut
  bool pupil;
  int16_t next;
};
// The shut steps of a slow blink draw their successor: 4, 5, 6 or 7.
constexpr int16_t kHeldAtRandom = -1;

constexpr std::array<BlinkStep, 15> kBlinkSteps = {{
    {kEyeOpen, 0, true, kEyeOpen},
    // Slow: closing, shut for one frame or more, opening.
    {1, 1, false, 2},
    {2, 2, false, 3},
    {3, 3, false, 4},
    {4, 4, false, kHeldAtRandom},
    {5, 4, false, kHeldAtRandom},
    {6, 4, false, kHeldAtRandom},
    {7, 3, false, 8},
    {8, 2, false, 9},
    {9, 1, false, 10},
    {10, 0, true, kEyeOpen},
    // Quick: half shut, shut, half shut, open.
    {101, 2, false, 102},
    {102, 4, false, 103},
    {103, 2, false, 104},
    {104, 0, true, kEyeOpen},
}};

// The row of `step`; a value that is no step of a blink shows the open eye, as idle does.
const BlinkStep& BlinkStepOf(int16_t step) {
  for (const BlinkStep& row : kBlinkSteps)
    if (row.step == step) return row;
  return kBlinkSteps[0];
}

}  // namespace

void VisionP::Blit(int x, int y, int w, int h, const Surface& source, int sx, int sy,
                   uint32_t rop) {
  if (OnBlit) OnBlit({&source, x, y, w, h, sx, sy, rop});
  BitBlt(canvas_.hDC(), x, y, w, h, source, sx, sy, rop);
}

void VisionP::BlitJitter(const PictureBox& source, uint32_t rop) {
  const float a = random_.Rnd();
  const float b = random_.Rnd();
  const int x = RoundHalfEven(a * 2.0f);
  const int y = RoundHalfEven(b * 2.0f);
  Blit(x, y, kCanvasWidth, kCanvasHeight, source.hDC(), 0, 0, rop);
}

void VisionP::BlitEye(const PictureBox& source) {
  const float a = random_.Rnd();
  const float b = random_.Rnd();
  const int x = FloorInt(a * 2.0f) + kEyeX;
  const int y = FloorInt(b * 2.0f) + kEyeY;
  Blit(x, y, kEyeWidth, kEyeHeight, source.hDC(), 0, 0, SRCPAINT);
}

void VisionP::NoiseBurst(int16_t count) {
  const int n = count;
  const Surface& noise = pictures_.PicNoise.hDC();
  for (int i = 0; i <= n; ++i) {
    const float a = random_.Rnd();
    const float b = random_.Rnd();
    const float c = random_.Rnd();
    const float d = random_.Rnd();
    const int x = RoundHalfEven(a * static_cast<float>(kCanvasWidth));
    const int y = RoundHalfEven(b * static_cast<float>(kCanvasHeight));
    const int sx = RoundHalfEven(c * 75.0f);
    const int sy = RoundHalfEven(d * 50.0f);
    Blit(x, y, kNoiseBlock, kNoiseBlock, noise, sx, sy, SRCINVERT);
  }
}

void VisionP::PaintFace() {
  // The face and each hair picture tremble on their own; the eyes lie over them all.
  BlitJitter(pictures_.PicNilu, SRCPAINT);
  for (const PictureBox& hair : pictures_.PicNiluHair) BlitJitter(hair, SRCPAINT);
  AnimateEyes();
}

void VisionP::PaintBigEye() {
  BlitJitter(pictures_.PicBigEye[0], SRCPAINT);
  BlitJitter(pictures_.PicBigEye[1], SRCPAINT);
}

void VisionP::PaintViews() {
  BlitJitter(pictures_.PicView[0], SRCPAINT);
  const int k = FloorInt(random_.Rnd() * 2.0f) + 2;  // one of the two overlays
  BlitJitter(pictures_.PicView[k], SRCPAINT);
  // The mask comes last and cuts everything beneath it, the lower layer included.
  BlitJitter(pictures_.PicView[1], SRCAND);
}

void VisionP::PaintWire() {
  BlitJitter(pictures_.PicWire, SRCPAINT);
}

void VisionP::PaintTv() {
  // Noise first, then the mask keeps it only inside the screen, then the set itself.
  if (NoiseMute == 0) NoiseBurst(kTvNoiseBlocks);
  BlitJitter(pictures_.PicTv[0], SRCAND);
  BlitJitter(pictures_.PicTv[1], SRCPAINT);
}

void VisionP::PaintNoise() {
  const auto n = static_cast<int16_t>(RoundHalfEven(random_.Rnd() * 20.0f));
  NoiseBurst(n);
}

void VisionP::PaintLayer(int16_t state) {
  switch (state) {
    case kLayerFace:
      PaintFace();
      break;
    case kLayerBigEye:
      PaintBigEye();
      break;
    case kLayerViews:
      PaintViews();
      break;
    case kLayerWire:
      PaintWire();
      break;
    case kLayerTv:
      PaintTv();
      break;
    case kLayerNoise:
      PaintNoise();
      break;
    default:  // nothing: an empty layer
      break;
  }
}

void VisionP::AnimateEyes() {
  if (EyeStep == kEyeOpen && FloorInt(random_.Rnd() * 25.0f) == 0) {
    // A blink starts, slow or quick, and shows its first picture at once.
    EyeStep = FloorInt(random_.Rnd() * 2.0f) == 0 ? kSlowBlinkFirst : kQuickBlinkFirst;
  }
  const BlinkStep& step = BlinkStepOf(EyeStep);
  BlitEye(pictures_.PicNiluEye[step.eyePicture]);
  if (step.pupil) BlitEye(pictures_.PicPupil);
  if (step.next == kHeldAtRandom) {
    // Shut: stays shut for another frame three times in four, then opens.
    EyeStep = static_cast<int16_t>(kSlowBlinkShut + FloorInt(random_.Rnd() * 4.0f));
  } else {
    EyeStep = step.next;
  }
}

void VisionP::ComposeFrame() {
  BlitJitter(pictures_.PicBlack, SRCCOPY);
  for (int i = 0; i < 2; ++i) {
    PaintLayer(LayerState[i]);
    if (LayerState[1] == LayerState[0]) break;  // the same picture is drawn once
  }
}

void VisionP::RollTransitions() {
  // About once a second both layers jump together, about once in four seconds the upper layer
  // alone changes, and the television's noise is switched on or off at random.
  if (FloorInt(random_.Rnd() * 50.0f) == 0) {
    if (FloorInt(random_.Rnd() * 2.0f) != 0) {
      LayerState[0] = kLayerFace;
    } else {
      LayerState[0] = static_cast<int16_t>(RoundHalfEven(random_.Rnd() * 6.0f));
    }
    LayerState[1] = LayerState[0];
  }
  if (FloorInt(random_.Rnd() * 200.0f) == 0) {
    LayerState[1] = static_cast<int16_t>(RoundHalfEven(random_.Rnd() * 6.0f));
  }
  if (FloorInt(random_.Rnd() * 20.0f) == 0) {
    NoiseMute = static_cast<uint8_t>(FloorInt(random_.Rnd() * 2.0f));
  }
}

void VisionP::UpdateClock() {
  const std::optional<ClockReading> reading = ReadClock(clock_.DateTimeText());
  if (!reading || reading->second == LastSecond) return;  // once a second, not once a frame
  clockLabel_.Caption = reading->caption;
  LastSecond = reading->second;
}

}  // namespace ombrevale
