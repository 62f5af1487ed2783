// Uncompressed 24-bit bitmaps with their black left out: the same picture as the file they stand
// for, its headers checked as that file's, in fewer bytes; runs that do not fill their rows exactly
// (cut short, past a row's end, empty, with bytes to spare) refused rather than read past.

#include "platform/bitmap/Rgb24Runs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/bitmap/Rgb24Rows.h"
#include "tests/platform/bitmap/Rgb24Bitmap.h"

namespace ombrevale {
namespace {

const Pixel kInk = Rgb(10, 20, 30);
// Rows of every kind: all black, all ink, ink at both edges, black at both, black inside ink.
const std::vector<std::vector<Pixel>> kPixels = {
    {0, 0, 0, 0, 0, 0, 0},
    {kInk, Rgb(255, 255, 255), kInk, Rgb(1, 0, 0), kInk, kInk, Rgb(0, 0, 1)},
    {Rgb(0, 1, 0), 0, 0, 0, 0, 0, kInk},
    {0, 0, kInk, Rgb(4, 5, 6), kInk, 0, 0},
    {kInk, 0, kInk, 0, 0, kInk, 0}};

struct Packed {
  std::vector<uint8_t> file;  // the bitmap
  std::vector<uint8_t> runs;  // the same in runs
  BitmapFormat format;
};

Packed Pack(bool topDown) {
  Packed p{Rgb24Bitmap(kPixels, topDown), {}, {}};
  const CheckedBitmap checked = CheckBitmapHeader(p.file, p.file.size());
  EXPECT_TRUE(checked.format) << checked.refusal;
  p.format = *checked.format;
  p.runs = EncodeRgb24Runs(p.format, p.file);
  return p;
}

TEST(Rgb24Runs, HoldTheFilesPictureAndHeadersInFewerBytesWhicheverWayItsRowsAreStored) {
  for (const bool topDown : {false, true}) {
    const Packed p = Pack(topDown);
    EXPECT_LT(p.runs.size(), p.file.size());
    const std::optional<Rgb24RunsHead> head = ReadRgb24RunsHead(p.runs);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->fileSize, p.file.size());
    const CheckedBitmap checked = CheckBitmapHeader(head->head, head->fileSize);
    ASSERT_TRUE(checked.format) << checked.refusal;
    EXPECT_EQ(checked.format->bottomUp, !topDown);
    const std::optional<Surface> picture = DecodeRgb24Runs(*checked.format, p.runs);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(*picture == DecodeRgb24(p.format, p.file)) << (topDown ? "top-down" : "bottom-up");
  }
  // A bitmap as it is, or anything else, is not in runs.
  EXPECT_FALSE(ReadRgb24RunsHead(Pack(false).file));
  EXPECT_FALSE(ReadRgb24RunsHead(std::vector<uint8_t>{'O', 'V', 'R', '1', 0}));
}

TEST(Rgb24Runs, ThatDoNotFillTheRowsExactlyAreRefused) {
  const Packed p = Pack(false);
  const size_t firstRun = 8 + p.format.pixelOffset;  // the mark, the size, the headers
  ASSERT_TRUE(DecodeRgb24Runs(p.format, p.runs));

  std::vector<uint8_t> cut(p.runs.begin(), p.runs.end() - 1);
  EXPECT_FALSE(DecodeRgb24Runs(p.format, cut)) << "cut short";
  std::vector<uint8_t> spare = p.runs;
  spare.push_back(0);
  EXPECT_FALSE(DecodeRgb24Runs(p.format, spare)) << "a byte to spare";
  std::vector<uint8_t> past = p.runs;
  past[firstRun] = 8;  // the black row's run of 7 made 8: past the row's end
  EXPECT_FALSE(DecodeRgb24Runs(p.format, past)) << "past the row's end";
  std::vector<uint8_t> empty = p.runs;
  empty[firstRun] = 0;  // runs of no pixels, which would never reach the row's end
  EXPECT_FALSE(DecodeRgb24Runs(p.format, empty)) << "empty runs";
  EXPECT_FALSE(DecodeRgb24Runs(p.format, std::vector<uint8_t>(p.runs.begin(), p.runs.begin() + 60)))
      << "no runs at all";
}

}  // namespace
}  // namespace ombrevale
