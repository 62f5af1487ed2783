#include "platform/bitmap/Rgb24Runs.h"

#include <algorithm>

namespace ombrevale {
namespace {

constexpr size_t kMarkAndSize = sizeof(kRgb24RunsMark) + 4;
constexpr uint32_t kLongestRun = 0xFFFF;

void PutRun(std::vector<uint8_t>& out, uint32_t length) {
  out.push_back(static_cast<uint8_t>(length));
  out.push_back(static_cast<uint8_t>(length >> 8));
}

bool IsBlack(const uint8_t* bgr) {
  return bgr[0] == 0 && bgr[1] == 0 && bgr[2] == 0;
}

// One stored row of `width` pixels, as runs.
void EncodeRow(const uint8_t* row, int width, std::vector<uint8_t>& out) {
  int x = 0;
  while (x < width) {
    int black = 0;
    while (x + black < width && black < static_cast<int>(kLongestRun) &&
           IsBlack(row + 3 * (x + black)))
      ++black;
    int ink = 0;
    while (x + black + ink < width && ink < static_cast<int>(kLongestRun) &&
           !IsBlack(row + 3 * (x + black + ink)))
      ++ink;
    PutRun(out, static_cast<uint32_t>(black));
    PutRun(out, static_cast<uint32_t>(ink));
    const uint8_t* first = row + 3 * (x + black);
    out.insert(out.end(), first, first + 3 * ink);
    x += black + ink;
  }
}

}  // namespace

std::optional<Rgb24RunsHead> ReadRgb24RunsHead(std::span<const uint8_t> file) {
  if (file.size() < kMarkAndSize ||
      !std::equal(std::begin(kRgb24RunsMark), std::end(kRgb24RunsMark), file.begin()))
    return std::nullopt;
  const uint64_t size = uint64_t{file[4]} | uint64_t{file[5]} << 8 | uint64_t{file[6]} << 16 |
                        uint64_t{file[7]} << 24;
  return Rgb24RunsHead{file.subspan(kMarkAndSize), size};
}

std::vector<uint8_t> EncodeRgb24Runs(const BitmapFormat& format, std::span<const uint8_t> file) {
  std::vector<uint8_t> out(std::begin(kRgb24RunsMark), std::end(kRgb24RunsMark));
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<uint8_t>(file.size() >> shift));
  out.insert(out.end(), file.begin(), file.begin() + static_cast<ptrdiff_t>(format.pixelOffset));
  const int width = format.size.width, height = format.size.height;
  const size_t stride = BitmapRowBytes(width, 24);
  for (int y = 0; y < height; ++y) {
    const int stored = format.bottomUp ? height - 1 - y : y;
    EncodeRow(file.data() + format.pixelOffset + stride * static_cast<size_t>(stored), width, out);
  }
  return out;
}

std::optional<Surface> DecodeRgb24Runs(const BitmapFormat& format, std::span<const uint8_t> file) {
  const int width = format.size.width, height = format.size.height;
  Surface picture(width, height);
  size_t at = kMarkAndSize + format.pixelOffset;
  const auto run = [&]() {
    const uint32_t length = uint32_t{file[at]} | uint32_t{file[at + 1]} << 8;
    at += 2;
    return static_cast<int>(length);
  };
  for (int y = 0; y < height; ++y) {
    Pixel* row = picture.Row(y);
    for (int x = 0; x < width;) {
      if (at + 4 > file.size()) return std::nullopt;
      const int black = run(), ink = run();
      if (black + ink == 0 || ink > width - x - black ||
          at + 3 * static_cast<size_t>(ink) > file.size())
        return std::nullopt;
      x += black;
      for (const int end = x + ink; x < end; ++x, at += 3)
        row[x] = Rgb(file[at + 2], file[at + 1], file[at]);
    }
  }
  if (at != file.size()) return std::nullopt;
  return picture;
}

}  // namespace ombrevale
