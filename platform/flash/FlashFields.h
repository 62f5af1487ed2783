#pragma once

// Where on the canvas a frame's transitions cover a quarter of a 10-degree field: the sizes a
// canvas is seen at (FlashSight), and the search over every place of the field (FieldFinder),
// after opposing transitions have cancelled over half a degree.

#include <cstdint>
#include <string>
#include <vector>

namespace ombrevale {

// How a canvas of `width` x `height` pixels is seen when shown at `scale` reference pixels to a
// canvas pixel, on the reference screen (1024 x 768 pixels, where 341 x 256 make a 10-degree
// field of view). Every size is in canvas pixels.
struct FlashSight {
  // 10 degrees, and half a degree, in reference pixels.
  static constexpr int kReferenceFieldWidth = 341, kReferenceFieldHeight = 256;
  static constexpr double kReferenceNet = 17.05;

  FlashSight(int width, int height, double scale);

  int width, height;
  double scale;
  // The side of the square, about half a degree and odd so that it has a middle, over which a
  // pixel's rises and falls cancel.
  int net;
  // The field, rounded to whole pixels and kept within the canvas (what lies off it is still);
  // a quarter of the whole field's area, however much of it lies on the canvas.
  int fieldWidth, fieldHeight;
  int needed;
  // The places a field's top left corner can take, one per pixel.
  int placesAcross, placesDown;

  int Places() const { return placesAcross * placesDown; }
  // In words: "a 10-degree field is W x H pixels of the canvas, a transition covers N of them;
  // opposing changes cancel over S x S pixels".
  std::string Words() const;
};

// Finds, for one kind of transition at a time, the places whose field holds a quarter of
// transitions. A pixel's transition counts as much as it does not cancel against the opposing
// ones around it: the transitions of the net square centred on the pixel are added, rises as +1
// and falls as -1, and the sum's size over the square's pixels (those of it on the canvas) is what
// the pixel covers. An area whose pixels all rise (or all fall) covers its own area, wherever it
// lies and whatever the size of the square; a fine balanced pattern (noise, a checkerboard
// inverting, a thin line trembling by a pixel) cancels to little; two large areas, one rising as
// the other falls, each cover their own. A field makes a transition where what its pixels cover
// adds up to the quarter.
class FieldFinder {
 public:
  explicit FieldFinder(const FlashSight& sight);

  // Sets hits[place] to 1 for every place (placesAcross x placesDown, row by row) whose field
  // makes a transition of the kind `events` holds (one per canvas pixel, row by row: +1, -1 or
  // 0; `count` of them not 0), and to 0 elsewhere. Returns how many places make one.
  int Find(const int8_t* events, int count, uint8_t* hits);

 private:
  // Rows are taken four at a time where a row's sums run along it, so that the four sums run
  // side by side.
  static constexpr int kBatch = 4;

  // Notes in eventRows_ which rows hold a transition.
  void FindEventRows(const int8_t* events);
  // Writes into across_, for the rows with a transition, each pixel's row of its square, summed;
  // `count` (up to kBatch) rows at a time by SquareRows.
  void SumAlongRows(const int8_t* events);
  void SquareRows(const int8_t* events, const int* rows, int count);
  // Adds row `y` of across_ into the column sums (`sign` +1), or takes it out (-1).
  void AddRow(int y, int sign);
  // Moves the column sums to the square of row `y` and writes what the row's pixels cover into
  // row `slot` of covered_; returns false, writing nothing, where it covers nothing.
  bool CoverRow(int y, int slot);
  // Adds the `rows` covered rows from row `y` into the fields' sums (those `covers` says cover
  // something), and marks the places whose field is complete.
  int FieldRows(int y, const bool* covers, int rows, uint8_t* hits);
  // Marks in place row `py` of `hits` the places whose field's sum is complete and reaches the
  // quarter; returns how many.
  int MarkPlaces(int py, uint8_t* hits);

  FlashSight sight_;
  int radius_;
  int64_t threshold_;
  // Per number of rows a pixel's square holds on the canvas (1 to net), per column: the weight
  // of its sum, so that a square wholly on the canvas weighs the same everywhere and a clipped one
  // as much more as it is smaller.
  std::vector<int32_t> weights_;
  std::vector<bool> eventRows_;   // per row: whether it holds a transition
  std::vector<int16_t> across_;   // per pixel of a row with a transition: its row of the square
  int squareRows_ = 0;            // how many rows with a transition the current square holds
  std::vector<int32_t> columns_;  // per pixel of a row: its square's sum
  std::vector<int32_t> covered_;  // kBatch rows: per pixel, what it covers, weighted
  // kBatch rows of width + 1, and a spare one: the sums along a row before a pixel.
  std::vector<uint32_t> prefix_;
  uint32_t* Spare() { return prefix_.data() + static_cast<size_t>(kBatch) * (sight_.width + 1); }
  std::vector<uint32_t> fieldRows_;   // a ring of fieldHeight rows: per place, its row's cover
  std::vector<bool> fieldRowCovers_;  // per row of the ring: whether it covers anything
  int fieldRowsCovering_ = 0;         // how many of the field's rows do
  std::vector<int64_t> fieldSums_;    // per place of a row: the cover of its field so far
};

}  // namespace ombrevale
