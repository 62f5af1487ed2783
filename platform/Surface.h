#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/FreshPages.h"
#include "platform/Rect.h"

namespace ombrevale {

// A pixel is 0x00RRGGBB; the top byte is unused and stays 0 under every raster operation.
using Pixel = uint32_t;

inline constexpr Pixel Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return (Pixel{r} << 16) | (Pixel{g} << 8) | Pixel{b};
}

// The pixels of a surface, in blocks that are zero until written.
using PixelStore = std::vector<Pixel, FreshPages<Pixel>>;

// A stretch of a row that holds ink: from `first` up to, not including, `end`.
struct InkSpan {
  int first = 0;
  int end = 0;
};

// Where a picture's ink lies, row by row: row y's stretches, left to right, are
// spans[rowStart[y]] up to spans[rowStart[y + 1]]. A black gap narrower than kInkGap pixels lies
// inside a stretch, as passing it by would cost more than combining it, and a stretch may begin or
// end with a few black pixels; every pixel outside the stretches is black.
struct InkNote {
  static constexpr int kInkGap = 32;
  std::vector<InkSpan> spans;
  std::vector<uint32_t> rowStart;
};

// A persistent 32-bit picture: what a picture control holds behind its device context. A
// default-constructed surface holds no picture (0 x 0); blits from it change nothing.
class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, Pixel fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // The whole picture, at (0, 0): what every drawing on it is clipped to.
  Rect Bounds() const { return {0, 0, width_, height_}; }

  // Writing access forgets where the ink lay (below).
  Pixel* Row(int y) {
    ForgetInk();
    return pixels_.data() + static_cast<size_t>(y) * width_;
  }
  const Pixel* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  Pixel At(int x, int y) const { return Row(y)[x]; }
  void Set(int x, int y, Pixel p) { Row(y)[x] = p; }
  void Fill(Pixel p);
  void FillRect(const Rect& area, Pixel p);  // clipped to the picture

  // Notes, row by row, where the picture's ink lies, for a picture that from now on is only read
  // (the vision's sources): blits from it then pass over its black instead of combining it. Any
  // writing access afterwards forgets the note; a pointer to a row taken earlier must not be
  // written through once it is made.
  void NoteInk();
  // The note, or nothing when none is kept (nor made for a picture that is mostly ink).
  const InkNote* Ink() const { return ink_.rowStart.empty() ? nullptr : &ink_; }

  const PixelStore& Pixels() const { return pixels_; }
  bool operator==(const Surface& other) const {
    return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
  }

 private:
  void ForgetInk() {
    if (!ink_.rowStart.empty()) ink_ = {};
  }

  int width_ = 0;
  int height_ = 0;
  PixelStore pixels_;
  InkNote ink_;
};

}  // namespace ombrevale
