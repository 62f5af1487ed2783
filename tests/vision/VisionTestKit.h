#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "app/World.h"
#include "backends/headless/Headless.h"
#include "platform/PageLayout.h"
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
    // Each source by its file's name: "face", "eye3", "big_pupil".
    ForEachVisionSource(static_cast<const VisionPictures&>(f),
                        [this](const PictureBox& box, const VisionSource& source) {
                          names[&box.Image] = source.file.substr(4, source.file.size() - 8);
                        });
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
struct VisionControls : VisionPictures {
  VisionControls() {
    PicTitle1.Image = Surface(kCanvasWidth, kCanvasHeight, 0);
    LabMain1.Caption = "Burst";
  }

  PictureBox PicTitle1;
  Label LabMain1;
};

// The vision on its own, without a window: its controls, a fake clock and scripted random values.
// It records every blit it makes.
struct VisionWorld : BlitRecorder {
  VisionWorld() { Watch(vision, controls); }

  FakeClock clock;
  ScriptedRandom random;
  VisionControls controls;
  VisionP vision{controls.PicTitle1, controls, controls.LabMain1, random, clock};
};

// A whole system whose vision records every blit it makes: for a frame run from the top, shown in
// the window.
struct FrameWorld : World, BlitRecorder {
  FrameWorld() { Watch(app.vision, app.form); }

  VisionP& vision = app.vision;
};

}  // namespace ombrevale::world
