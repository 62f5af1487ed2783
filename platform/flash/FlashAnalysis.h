#pragma once

// Counts the flashes of a run of frames as WCAG 2.x counts general and red flashes: fed one frame
// at a time, it says after each frame how many flashes the second up to and including it holds,
// in the 10-degree field of view where they are most. It keeps a few numbers per cell of the
// canvas and per place of the field, never the frames, so a run of any length needs the same
// memory.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Rect.h"
#include "platform/Surface.h"

namespace ombrevale {

// The colour measures, from an sRGB pixel: each channel linearised (c / 12.92 up to 0.04045,
// else ((c + 0.055) / 1.055) ^ 2.4, with c from 0 to 1), then
// - the relative luminance, 0.2126 R + 0.7152 G + 0.0722 B, from 0 (black) to 1 (white);
// - the red measure, (R - G - B) x 320, 0 where that is negative, from 0 to 320;
// - whether the colour is a saturated red: R / (R + G + B) >= 0.8 (black is none). The ratio is
//   taken on the linearised channels, as chromaticity is a ratio of linear light, and as the red
//   measure beside it is.
struct FlashColour {
  float luminance = 0;
  float red = 0;
  bool saturatedRed = false;
};
FlashColour MeasureColour(float linearR, float linearG, float linearB);
// The channel c (0 to 255) in linear light, from 0 to 1.
float LinearChannel(uint8_t c);
// The relative luminance of one pixel.
float RelativeLuminance(Pixel p);

// The second up to and including a frame: how many flashes of each kind it holds in the field
// where they are most, and that field on the canvas (empty when it holds none).
struct FlashWindow {
  int general = 0;
  int red = 0;
  Rect generalField;
  Rect redField;
};

// How a page of `width` x `height` pixels is seen: shown at `scale` times its natural size on
// the reference screen (1024 x 768 pixels, where 341 x 256 pixels make a 10-degree field), one
// frame every 1 / `framesPerSecond` of a second.
//
// What it counts, pixel by pixel of the canvas:
// - The colour at a pixel is the mean, in linear light, over its cell: the square of whole
//   pixels nearest 0.1 degree (3.41 reference pixels) that the canvas is cut into from its top
//   left corner. WCAG lets a fine, balanced pattern whose squares are smaller than 0.1 degree
//   flicker freely: in a cell it is its mean, and a thin line that trembles by a pixel changes
//   its cell by what it covers. A cell is 3 x 3 pixels at 1x, 2 x 2 at 2x, one pixel from 2.3x.
// - A general transition: the luminance of a cell has moved by at least 0.1 from the last turn
//   the other way (its lowest since a fall, its highest since a rise; at first both), and the
//   darker end of the move is below 0.8. It is counted at the frame where the move reaches that,
//   so a change spread over several frames counts once, and a slow fade once, at its start.
// - A red transition: the red measure of a cell has moved by more than 20 from the last turn the
//   other way, and the colour at one end of the move is a saturated red.
// - The area: a 10-degree field (341 x 256 reference pixels, so 341 / scale x 256 / scale canvas
//   pixels, rounded to whole pixels, tried at every place on the canvas) makes a transition in a
//   frame when the pixels whose cells make one of that kind in that frame cover at least a
//   quarter of its area (341 x 256 / 4 / scale^2 canvas pixels). Rises and falls count together:
//   where one part of a field brightens as another darkens, their flashes are concurrent and
//   WCAG adds up their area. A field larger than the canvas is tried over the whole canvas: what
//   lies off the canvas is still.
// - A flash is a pair of opposing transitions. A cell's transitions take turns, a rise then a
//   fall, so a field's transitions pair up: its flashes in a second are half its transitions in
//   the last `framesPerSecond` frames, rounded down, and the count of a second is the most of any
//   field. (Transitions of separate parts of a field that never turn back can pair too, but a
//   field holds at most four such in a second, two flashes: never enough to cross the threshold
//   alone.) The first frame has no transition: nothing came before it.
class FlashAnalysis {
 public:
  static constexpr int kReferenceFieldWidth = 341, kReferenceFieldHeight = 256;
  // 0.1 degree in reference pixels: a hundredth of the 341 that make 10 degrees.
  static constexpr double kReferenceCell = 3.41;
  static constexpr float kGeneralStep = 0.1f, kDarkLimit = 0.8f, kRedStep = 20.0f;
  // Each place of the field remembers a second as bits of one word.
  static constexpr int kMaxFramesPerSecond = 64;

  FlashAnalysis(int width, int height, double scale, int framesPerSecond);

  // Adds the next frame, `width` x `height` as constructed; returns the second up to it.
  FlashWindow AddFrame(const Surface& frame);

  // The size of a cell, and of the field, in canvas pixels; how many pixels of the field a
  // transition must cover.
  int CellSize() const { return cell_; }
  int FieldWidth() const { return fieldW_; }
  int FieldHeight() const { return fieldH_; }
  int PixelsNeeded() const { return needed_; }
  // How the page is seen, in words: the field, the pixels needed, the cells.
  std::string Seeing() const;

 private:
  // A cell's luminance since its last transition: its lowest and highest, and which way that
  // transition went (+1 a rise, -1 a fall, 0 before the first).
  struct Swing {
    float low = 0, high = 0;
    int8_t direction = 0;
    // Moves on to luminance `v`: +1 when that makes a rise, -1 a fall, else 0.
    int Step(float v);
  };
  // The same for a cell's red measure, with whether the colour at its lowest and at its highest
  // was a saturated red.
  struct RedSwing {
    float low = 0, high = 0;
    bool lowSaturated = false, highSaturated = false;
    int8_t direction = 0;
    int Step(float m, bool saturated);
  };
  // The two kinds of transition: general and red.
  static constexpr int kKinds = 2;

  // Sums each cell's light, channel by channel.
  void MeasureCells(const Surface& frame);
  // Marks in placeHit_ the places whose field holds enough pixels of `kind` this frame.
  void FindFields(int kind);
  // Moves each place's second on to frame `now`.
  void MoveSeconds(int64_t now);
  // The most flashes of `kind` in a field in the second up to `now`, and that field.
  int MostFlashes(int64_t now, int kind, Rect& field) const;

  int width_, height_, framesPerSecond_;
  int cell_, cellsAcross_, cellsDown_;
  int fieldW_, fieldH_, needed_;
  int placesAcross_, placesDown_;
  bool first_ = true;
  int64_t frame_ = 0;

  std::vector<int> cellOfColumn_;          // per column of pixels: its column of cells
  std::vector<float> sumR_, sumG_, sumB_;  // per cell, linear light
  std::vector<Swing> swings_;
  std::vector<RedSwing> redSwings_;
  std::vector<int> cellPixels_;    // per cell: how many pixels it holds (fewer at the edges)
  std::vector<uint8_t> events_;    // per cell: bit k set when it makes a transition of kind k
  std::vector<int32_t> table_;     // summed area of one kind, (width + 1) x (height + 1)
  std::vector<uint8_t> placeHit_;  // per place: bit k set when the field there holds enough of k
  // Per kind and place: the field's transitions in the last second, one bit a frame, the newest
  // lowest; and how many there are.
  std::vector<uint64_t> history_[kKinds];
  std::vector<uint8_t> count_[kKinds];
  // The last frame any place held a transition of each kind: a second later all is quiet.
  int64_t lastHit_[kKinds];
};

}  // namespace ombrevale
