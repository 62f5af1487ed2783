#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "app/World.h"
#include "platform/PageLayout.h"
#include "platform/headless/Headless.h"
#include "platform/raster/BitBlt.h"
#include "vision/VisionP.h"

namespace ombrevale::world {

// A blit the vision made, with its source named after the file the source holds.
struct Blit {
  std::string source;
  int x, y, width, height, sourceX, sourceY;
  uint32_t rop;
};

// Records every blit a vision makes, its source named by the picture control it came from.
struct BlitRecorder {
  // `f` is whatever owns the vision's pictures under the window's names: the window itself or the
  // controls of a vision on its own.
  template <typename Controls>
  void Watch(VisionP& vision, const Controls& f) {
    names[&f.PicBlack.Image] = "black";
    names[&f.PicNilu.Image] = "face";
    names[&f.PicPupil.Image] = "pupil";
    names[&f.PicWire.Image] = "wire";
    names[&f.PicNoise.Image] = "noise";
    for (int i = 0; i < 5; ++i) names[&f.PicNiluEye[i].Image] = "eye" + std::to_string(i);
    for (int i = 0; i < 3; ++i) names[&f.PicNiluHair[i].Image] = "hair" + std::to_string(i);
    names[&f.PicBigEye[0].Image] = "big_eye";
    names[&f.PicBigEye[1].Image] = "big_pupil";
    for (int i = 0; i < 4; ++i) names[&f.PicView[i].Image] = "view" + std::to_string(i);
    for (int i = 0; i < 2; ++i) names[&f.PicTv[i].Image] = "tv" + std::to_string(i);
    vision.OnBlit = [this](const CanvasBlit& b) {
      blits.push_back(
          {names.at(b.source), b.x, b.y, b.width, b.height, b.sourceX, b.sourceY, b.rop});
    };
  }

  // The sources of the blits so far, in order, with a suffix for the raster operation:
  // "face|" OR, "view1&" AND, "noise^" XOR, "black=" copy.
  std::vector<std::string> Sequence() const {
    std::vector<std::string> out;
    for (const Blit& b : blits) {
      const char* op = b.rop == SRCPAINT    ? "|"
                       : b.rop == SRCAND    ? "&"
                       : b.rop == SRCINVERT ? "^"
                                            : "=";
      out.push_back(b.source + op);
    }
    return out;
  }

  std::map<const Surface*, std::string> names;
  std::vector<Blit> blits;
};

// What the vision draws with, owned here as the window owns it: the canvas, black at first, the
// clock's label, "Burst" at first, and the source pictures, empty until a test fills them.
struct VisionControls {
  VisionControls() {
    PicTitle1.Image = Surface(kCanvasWidth, kCanvasHeight, 0);
    LabMain1.Caption = "Burst";
  }

  PictureBox PicTitle1;
  Label LabMain1;
  PictureBox PicNilu, PicPupil, PicBlack, PicWire, PicNoise;
  std::array<PictureBox, 5> PicNiluEye;
  std::array<PictureBox, 3> PicNiluHair;
  std::array<PictureBox, 2> PicBigEye;
  std::array<PictureBox, 4> PicView;
  std::array<PictureBox, 2> PicTv;

  VisionPictures Pictures() const {
    return {PicNilu,   PicNiluEye, PicPupil, PicNiluHair, PicBlack,
            PicBigEye, PicView,    PicWire,  PicTv,       PicNoise};
  }
};

// The vision on its own, without a window: its controls, a fake clock and scripted random values.
// It records every blit it makes.
struct VisionWorld : BlitRecorder {
  VisionWorld() { Watch(vision, controls); }

  FakeClock clock;
  ScriptedRandom random;
  VisionControls controls;
  VisionP vision{controls.PicTitle1, controls.Pictures(), controls.LabMain1, random, clock};
};

// A whole system whose vision records every blit it makes: for a frame run from the top, shown in
// the window.
struct FrameWorld : World, BlitRecorder {
  FrameWorld() { Watch(app.vision, app.form); }

  VisionP& vision = app.vision;
};

}  // namespace ombrevale::world
