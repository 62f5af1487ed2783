#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/World.h"

namespace ombrevale::world {

// A blit the vision made, with its source named after the file the source holds.
struct Blit {
  std::string source;
  int x, y, width, height, sourceX, sourceY;
  uint32_t rop;
};

// A world whose vision records every blit it makes.
struct VisionWorld : World {
  VisionWorld() {
    Form1& f = app.form;
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
    app.vision.OnBlit = [this](const CanvasBlit& b) {
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

  VisionP& vision = app.vision;
  std::map<const Surface*, std::string> names;
  std::vector<Blit> blits;
};

}  // namespace ombrevale::world
