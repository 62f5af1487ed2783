#pragma once

// The source pictures the title vision draws from: the controls that hold them, and the one list
// of them, with the file each is read from and its place on the window's hidden data page. Owned
// by whoever shows the vision: in the program the window, in a test or a benchmark its own.

#include <array>
#include <string>
#include <vector>

#include "platform/Controls.h"

namespace ombrevale {

struct VisionPictures {
  PictureBox PicNilu;                    // the face
  std::array<PictureBox, 5> PicNiluEye;  // the open eye and the four steps of a blink
  PictureBox PicPupil;
  std::array<PictureBox, 3> PicNiluHair;
  PictureBox PicBlack;                  // the background
  std::array<PictureBox, 2> PicBigEye;  // the big eye and its pupil
  std::array<PictureBox, 4> PicView;    // view 1 is the mask over the others
  PictureBox PicWire;
  std::array<PictureBox, 2> PicTv;  // the television's mask and the set
  PictureBox PicNoise;              // where the noise blocks are cut from
};

// What the list says of one source picture.
struct VisionSource {
  std::string control;  // the control's name: "PicNilu", "PicNiluEye(3)"
  std::string file;     // its file in dat/: "dat/face.bmp"
  float left = 0, top = 0;  // its place on the data page, in twips
  int width = 0, height = 0;  // the size its file has, in pixels
};

// Calls `visit(box, source)` for each source picture of `pictures` (const or not), in the order the
// window loads them.
template <class Pictures, class Visit>
void ForEachVisionSource(Pictures& pictures, Visit visit) {
  auto one = [&visit](auto& box, const char* control, const char* file, float left, float top,
                      int w, int h) {
    visit(box, VisionSource{control, std::string("dat/") + file + ".bmp", left, top, w, h});
  };
  auto row = [&visit](auto& boxes, const char* control, const char* file,
                      std::initializer_list<float> lefts, float top, int w, int h) {
    int i = 0;
    for (float left : lefts) {
      const std::string n = std::to_string(i);
      visit(boxes[i], VisionSource{std::string(control) + "(" + n + ")",
                                   std::string("dat/") + file + n + ".bmp", left, top, w, h});
      ++i;
    }
  };
  one(pictures.PicNilu, "PicNilu", "face", 360, 1920, 400, 300);
  one(pictures.PicBlack, "PicBlack", "black", 120, 120, 400, 300);
  row(pictures.PicNiluEye, "PicNiluEye", "eye", {360, 840, 1320, 1800, 2280}, 2640, 150, 60);
  one(pictures.PicPupil, "PicPupil", "pupil", 360, 3120, 150, 60);
  row(pictures.PicNiluHair, "PicNiluHair", "hair", {360, 840, 1320}, 3840, 400, 300);
  one(pictures.PicBigEye[0], "PicBigEye(0)", "big_eye", 2880, 240, 400, 300);
  one(pictures.PicBigEye[1], "PicBigEye(1)", "big_pupil", 3360, 240, 400, 300);
  row(pictures.PicView, "PicView", "view", {2880, 3360, 3840, 4320}, 840, 400, 300);
  one(pictures.PicWire, "PicWire", "wire", 2880, 1560, 400, 300);
  row(pictures.PicTv, "PicTv", "tv", {2880, 3360}, 2160, 400, 300);
  one(pictures.PicNoise, "PicNoise", "noise", 2880, 2760, 100, 75);
}

// The files of the source pictures, in the order the window loads them.
inline std::vector<std::string> VisionFiles() {
  VisionPictures list;
  std::vector<std::string> files;
  ForEachVisionSource(list, [&files](PictureBox&, const VisionSource& source) {
    files.push_back(source.file);
  });
  return files;
}

}  // namespace ombrevale
