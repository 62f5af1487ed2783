#pragma once

// Counts the flashes of a run of frames as WCAG 2.x counts general and red flashes, fed one frame
// at a time with the time it is shown: after each frame it says how many transitions, and so
// flashes, the second up to and including it holds, in the 10-degree field of view where they are
// most. It keeps a few numbers per pixel of the canvas and per place of the field, never the
// frames before the last, so a run of any length needs the same memory, and each frame costs in
// proportion to its pixels and the field's places.
//
// What it counts, for a canvas shown at `scale` reference pixels to a canvas pixel on the
// reference screen (1024 x 768 pixels, where 341 x 256 make a 10-degree field):
// - A pixel's light is its own (FlashLight.h): a canvas pixel is 0.03 degree at 1x to 0.23 at 8x,
//   and detail finer than 0.1 degree is not averaged away first but weighs only as far as its
//   changes do not cancel (below).
// - A pixel's transition (FlashSwing.h): its relative luminance has moved by at least 0.1 from
//   its last turn the other way (the lowest since a fall, the highest since a rise), the darker
//   end below 0.8. A change spread over several frames adds up, so it counts once, at the frame
//   where it reaches 0.1, and a slow fade counts once. A red transition: the red measure has moved
//   by more than 20 from its last turn, with a saturated red at one end (FlashLight.h).
// - The combined area of concurrent flashes (FlashFields.h): in each frame, a pixel's transition
//   covers as much as it does not cancel against the opposing ones within half a degree around it
//   (rises +1, falls -1, added over that square, the sum's size over the square's pixels). So a
//   fine balanced pattern is no flash: random pixel noise, a checkerboard inverting, a thin line
//   trembling by a pixel cancel to a small share, and WCAG exempts patterns finer than 0.1 degree.
//   But an area that brightens or darkens as a whole covers all of itself, wherever it lies; two
//   areas flashing in phase add up, and so do two large areas, one brightening as the other
//   darkens: their flashes are concurrent, and WCAG adds their areas.
// - A field makes a transition in a frame where what its pixels cover comes to a quarter of its
//   area (341 x 256 / 4 / scale^2 canvas pixels); the field (341 / scale x 256 / scale canvas
//   pixels, whole) is tried at every place on the canvas, and one larger than the canvas over the
//   whole canvas, what lies off the canvas being still.
// - A flash is a pair of opposing transitions. The second up to a frame is the frames shown in
//   the 1000 ms up to and including it; its flashes, at a place, are half its transitions, rounded
//   up, so that 7 transitions are 4 flashes, over the limit of 3, and 6 are 3, within it. The
//   count of a second is the most of any place. The first frame makes no transition: nothing was
//   shown before it.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Rect.h"
#include "platform/Surface.h"
#include "platform/flash/FieldSeconds.h"
#include "platform/flash/FlashFields.h"
#include "platform/flash/FlashLight.h"
#include "platform/flash/FlashRows.h"
#include "platform/flash/FlashSwing.h"

namespace ombrevale {

// The second up to a frame: how many transitions and flashes of each kind it holds in the field
// where they are most, and that field on the canvas (empty when it holds none).
struct FlashWindow {
  int generalTransitions = 0;
  int redTransitions = 0;
  int general = 0;
  int red = 0;
  Rect generalField;
  Rect redField;
};

// The flashes of `transitions` transitions: a pair each, the last one alone counting as one.
inline int FlashesOf(int transitions) {
  return (transitions + 1) / 2;
}

class FlashAnalysis {
 public:
  static constexpr int kGeneral = 0, kRed = 1, kKinds = 2;

  // For frames of `width` x `height` pixels shown at `scale` (above 0).
  FlashAnalysis(int width, int height, double scale);

  // Adds the next frame, `width` x `height` as constructed, shown at `nowMs` on the millisecond
  // clock (never earlier than the frame before); returns the second up to it.
  FlashWindow AddFrame(const Surface& frame, uint32_t nowMs);

  // From the next frame on, the canvas is shown at `scale`. A field is now of another size, so
  // each place is taken to hold the most transitions any place held in the second up to the last
  // frame.
  void SetScale(double scale);

  // AddFrame in its steps, for a caller that may change the frame before it is counted:
  // - Look measures `frame`, to be shown at `nowMs`, against what each pixel remembers and finds
  //   where fields would make a transition; of the count it only moves the second on to `nowMs`;
  // - after a pixel was changed, Retake measures it again (its transitions are then those of its
  //   new colour), and FindFields finds the fields again;
  // - Commit counts the frame, which must be the one looked at with the pixels retaken.
  void Look(const Surface& frame, uint32_t nowMs);
  void Retake(int x, int y, Pixel p);
  // The same for a whole row `y`, now `row`.
  void RetakeRow(int y, const Pixel* row);
  void FindFields();
  FlashWindow Commit(const Surface& frame);

  // What Look found: per pixel, row by row, the transition of `kind` showing the frame would
  // make (+1, -1, 0); per place (Sight().placesAcross x placesDown, row by row) 1 where the field
  // there would make one, else 0; how many places would.
  const int8_t* Turns(int kind) const { return planes_.turns[kind].data(); }
  const uint8_t* Hits(int kind) const { return hits_[kind].data(); }
  int Found(int kind) const { return found_[kind]; }
  // A pixel's memory, and its luminance in the frame looked at (in units, FlashLight.h).
  PixelSwing Swing(size_t pixel) const { return planes_.Swing(pixel); }
  int LightAt(size_t pixel) const { return planes_.luminance[pixel]; }
  const PixelPlanes& Planes() const { return planes_; }
  // The transitions of `kind` a place made in the second up to the frame looked at, that frame
  // left out.
  int Count(int kind, int place) const { return seconds_[kind].Count(place); }
  const FieldSeconds& Seconds(int kind) const { return seconds_[kind]; }
  // The time of the frame looked at, on a clock that does not wrap: the millisecond clock's
  // readings, counted on across its wrap.
  int64_t NowMs() const { return nowMs_; }
  // The frame counted last (empty before the first).
  const Surface& LastShown() const { return last_; }
  bool Started() const { return !first_; }

  const FlashSight& Sight() const { return sight_; }
  // How the page is seen, in words: the field, the pixels needed, the square of cancelling.
  std::string Seeing() const { return sight_.Words(); }

 private:
  FlashWindow Busiest() const;
  // Measures the pixels of `now` that differ from `before` (`pixels` of each).
  TurnCounts MeasureChanged(const Pixel* now, const Pixel* before, size_t pixels);
  // Measures `count` pixels from `first` again, now `pixels`.
  void Remeasure(size_t first, size_t count, const Pixel* pixels);

  FlashSight sight_;
  FieldFinder finder_;
  bool first_ = true;
  int64_t nowMs_ = 0;
  Surface last_;
  PixelPlanes planes_;
  TurnCounts turning_;                 // how many pixels would make a transition of each kind
  std::vector<uint8_t> hits_[kKinds];  // per place
  int found_[kKinds] = {};
  FieldSeconds seconds_[kKinds];
};

}  // namespace ombrevale
