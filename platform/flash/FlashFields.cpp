#include "platform/flash/FlashFields.h"

#include "platform/flash/FlashVectors.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace ombrevale {

namespace {

// The weight of one unit of a square wholly on the canvas: a square's pixels times the weight
// stay within 2^21, so that a row of 2048 pixels' cover adds up within 32 bits. A clipped square's
// weight is scaled up from it by the square's full area over its clipped one, rounded.
int64_t WeightFor(int net) {
  return std::max<int64_t>(1, (int64_t{1} << 21) / (int64_t{net} * net));
}

// The sums along `count` (1 to 4) rows of `width` values before each value: before[k][x] for
// rows[k][0] to rows[k][x - 1], width + 1 of them, counted modulo 2^32 (a difference of two is
// exact where it fits). The rows' sums run side by side, so that each waits for its own only; a
// missing row repeats the first, into `spare`.
template <typename In>
void SumsBefore(const In* const* rows, int count, int width, uint32_t* const* before,
                uint32_t* spare) {
  const In* r[4];
  uint32_t* b[4];
  for (int k = 0; k < 4; ++k) {
    r[k] = rows[k < count ? k : 0];
    b[k] = k < count ? before[k] : spare;
  }
  uint32_t s0 = 0, s1 = 0, s2 = 0, s3 = 0;
  uint32_t* b0 = b[0];
  uint32_t* b1 = b[1];
  uint32_t* b2 = b[2];
  uint32_t* b3 = b[3];
  b0[0] = b1[0] = b2[0] = b3[0] = 0;
  for (int x = 0; x < width; ++x) {
    b0[x + 1] = s0 += static_cast<uint32_t>(r[0][x]);
    b1[x + 1] = s1 += static_cast<uint32_t>(r[1][x]);
    b2[x + 1] = s2 += static_cast<uint32_t>(r[2][x]);
    b3[x + 1] = s3 += static_cast<uint32_t>(r[3][x]);
  }
}

// A whole number of pixels from a size in reference pixels, kept within 1 and `most`.
int WholePixels(double size, int most) {
  return static_cast<int>(std::clamp(std::round(size), 1.0, static_cast<double>(most)));
}

// How many of the `net` pixels centred on `i` lie within 0 to `count` - 1.
int Inside(int i, int radius, int count) {
  return std::min(count - 1, i + radius) - std::max(0, i - radius) + 1;
}

}  // namespace

FlashSight::FlashSight(int width, int height, double scale)
    : width(width), height(height), scale(scale) {
  if (width <= 0 || height <= 0 || !(scale > 0) || !std::isfinite(scale))
    throw std::invalid_argument("a flash count needs a canvas and a scale above 0");
  const double radius = std::round((kReferenceNet / scale - 1) / 2);
  net =
      2 * static_cast<int>(std::clamp(radius, 0.0, static_cast<double>(std::max(width, height)))) +
      1;
  fieldWidth = WholePixels(kReferenceFieldWidth / scale, width);
  fieldHeight = WholePixels(kReferenceFieldHeight / scale, height);
  // A hair under the quarter, so that a quarter met exactly counts however the division rounds.
  const double quarter = kReferenceFieldWidth * kReferenceFieldHeight / 4.0 / (scale * scale);
  needed = static_cast<int>(std::clamp(std::ceil(quarter - 1e-6), 1.0, 1e9));
  placesAcross = width - fieldWidth + 1;
  placesDown = height - fieldHeight + 1;
}

std::string FlashSight::Words() const {
  char text[200];
  std::snprintf(text, sizeof text,
                "a 10-degree field is %d x %d pixels of the canvas, a transition covers %d of "
                "them; opposing changes cancel over %d x %d pixels",
                fieldWidth, fieldHeight, needed, net, net);
  return text;
}

FieldFinder::FieldFinder(const FlashSight& sight)
    : sight_(sight),
      radius_(sight.net / 2),
      threshold_(int64_t{sight.needed} * sight.net * sight.net * WeightFor(sight.net)),
      weights_(static_cast<size_t>(sight.net + 1) * sight.width),
      eventRows_(static_cast<size_t>(sight.height)),
      across_(static_cast<size_t>(sight.width) * sight.height),
      columns_(sight.width),
      covered_(static_cast<size_t>(kBatch) * sight.width),
      prefix_(static_cast<size_t>(kBatch + 1) * (sight.width + 1)),
      fieldRows_(static_cast<size_t>(sight.fieldHeight) * sight.placesAcross),
      fieldRowCovers_(static_cast<size_t>(sight.fieldHeight)),
      fieldSums_(sight.placesAcross) {
  const int64_t full = int64_t{sight.net} * sight.net * WeightFor(sight.net);
  for (int rows = 1; rows <= sight.net; ++rows)
    for (int x = 0; x < sight.width; ++x) {
      const int64_t area = int64_t{rows} * Inside(x, radius_, sight.width);
      weights_[static_cast<size_t>(rows) * sight.width + x] =
          static_cast<int32_t>((full + area / 2) / area);
    }
}

OMBREVALE_FLASH_VECTORS
void FieldFinder::FindEventRows(const int8_t* events) {
  const int w = sight_.width;
  for (int y = 0; y < sight_.height; ++y) {
    const int8_t* __restrict e = events + static_cast<size_t>(y) * w;
    int any = 0;
    for (int x = 0; x < w; ++x) any |= e[x];
    eventRows_[static_cast<size_t>(y)] = any != 0;
  }
}

void FieldFinder::SumAlongRows(const int8_t* events) {
  // Only the rows with transitions, four at a time.
  int batch[kBatch];
  int count = 0;
  for (int y = 0; y < sight_.height; ++y) {
    if (!eventRows_[static_cast<size_t>(y)]) continue;
    batch[count++] = y;
    if (count == kBatch || y == sight_.height - 1) {
      SquareRows(events, batch, count);
      count = 0;
    }
  }
  if (count > 0) SquareRows(events, batch, count);
}

OMBREVALE_FLASH_VECTORS
void FieldFinder::SquareRows(const int8_t* events, const int* rows, int count) {
  const int w = sight_.width, r = radius_;
  const int8_t* in[kBatch] = {};
  uint32_t* before[kBatch];
  for (int k = 0; k < kBatch; ++k) before[k] = prefix_.data() + static_cast<size_t>(k) * (w + 1);
  for (int k = 0; k < count; ++k) in[k] = events + static_cast<size_t>(rows[k]) * w;
  SumsBefore(in, count, w, before, Spare());
  for (int k = 0; k < count; ++k) {
    const uint32_t* __restrict b = before[k];
    int16_t* __restrict out = across_.data() + static_cast<size_t>(rows[k]) * w;
    // The square's row is the difference of two sums; clipped at the ends.
    const int inner = std::max(r, w - r);
    for (int x = 0; x < std::min(r, w); ++x)
      out[x] = static_cast<int16_t>(b[std::min(w, x + r + 1)] - b[0]);
    for (int x = r; x < w - r; ++x) out[x] = static_cast<int16_t>(b[x + r + 1] - b[x - r]);
    for (int x = inner; x < w; ++x) out[x] = static_cast<int16_t>(b[w] - b[std::max(0, x - r)]);
  }
}

OMBREVALE_FLASH_VECTORS
void FieldFinder::AddRow(int y, int sign) {
  const int w = sight_.width;
  int32_t* __restrict columns = columns_.data();
  const int16_t* __restrict in = across_.data() + static_cast<size_t>(y) * w;
  if (sign > 0) {
    for (int x = 0; x < w; ++x) columns[x] += in[x];
  } else {
    for (int x = 0; x < w; ++x) columns[x] -= in[x];
  }
}

OMBREVALE_FLASH_VECTORS
bool FieldFinder::CoverRow(int y, int slot) {
  // The square of row y holds the rows y - radius to y + radius: one comes in, one goes out.
  const int w = sight_.width, h = sight_.height;
  const auto holds = [&](int row) { return row >= 0 && row < h && eventRows_[row]; };
  if (holds(y + radius_)) {
    AddRow(y + radius_, 1);
    ++squareRows_;
  }
  if (holds(y - radius_ - 1)) {
    AddRow(y - radius_ - 1, -1);
    --squareRows_;
  }
  if (squareRows_ == 0) return false;  // no transition within reach: the row covers nothing
  const int32_t* __restrict columns = columns_.data();
  const int32_t* __restrict weight =
      weights_.data() + static_cast<size_t>(Inside(y, radius_, h)) * w;
  int32_t* __restrict covered = covered_.data() + static_cast<size_t>(slot) * w;
  for (int x = 0; x < w; ++x) covered[x] = std::abs(columns[x]) * weight[x];
  return true;
}

OMBREVALE_FLASH_VECTORS
int FieldFinder::FieldRows(int y, const bool* covers, int rows, uint8_t* hits) {
  const int w = sight_.width, across = sight_.placesAcross, fw = sight_.fieldWidth,
            fh = sight_.fieldHeight;
  const int32_t* in[kBatch] = {};
  uint32_t* before[kBatch] = {};
  int count = 0;
  for (int k = 0; k < rows; ++k) {
    if (!covers[k]) continue;
    in[count] = covered_.data() + static_cast<size_t>(k) * w;
    before[count] = prefix_.data() + static_cast<size_t>(k) * (w + 1);
    ++count;
  }
  if (count > 0) SumsBefore(in, count, w, before, Spare());
  int found = 0;
  for (int k = 0; k < rows; ++k, ++y) {
    const size_t slot = static_cast<size_t>(y % fh);
    uint32_t* __restrict row = fieldRows_.data() + slot * across;
    int64_t* __restrict sums = fieldSums_.data();
    // The field's rows: the one fh rows up goes out, this one comes in.
    if (y >= fh && fieldRowCovers_[slot]) {
      for (int p = 0; p < across; ++p) sums[p] -= row[p];
      --fieldRowsCovering_;
    }
    fieldRowCovers_[slot] = covers[k];
    if (covers[k]) {
      const uint32_t* __restrict b = prefix_.data() + static_cast<size_t>(k) * (w + 1);
      for (int p = 0; p < across; ++p) {
        row[p] = b[p + fw] - b[p];
        sums[p] += row[p];
      }
      ++fieldRowsCovering_;
    }
    if (y >= fh - 1) found += MarkPlaces(y - fh + 1, hits);
  }
  return found;
}

OMBREVALE_FLASH_VECTORS
int FieldFinder::MarkPlaces(int py, uint8_t* hits) {
  const int across = sight_.placesAcross;
  uint8_t* __restrict out = hits + static_cast<size_t>(py) * across;
  if (fieldRowsCovering_ == 0) {
    std::fill(out, out + across, 0);
    return 0;
  }
  const int64_t* __restrict sums = fieldSums_.data();
  const int64_t threshold = threshold_;
  int found = 0;
  for (int p = 0; p < across; ++p) {
    const int hit = sums[p] >= threshold;
    out[p] = static_cast<uint8_t>(hit);
    found += hit;
  }
  return found;
}

int FieldFinder::Find(const int8_t* events, int count, uint8_t* hits) {
  // Too few transitions anywhere for any field: nothing to add up. (Near the canvas's edges a
  // transition can cover up to 1.2 x 1.2 times its pixel, as its square is clipped.)
  if (3 * int64_t{count} < 2 * int64_t{sight_.needed}) {
    std::fill(hits, hits + sight_.Places(), 0);
    return 0;
  }
  // Rows without a transition are passed over wherever they add nothing.
  FindEventRows(events);
  SumAlongRows(events);
  std::fill(columns_.begin(), columns_.end(), 0);
  std::fill(fieldSums_.begin(), fieldSums_.end(), 0);
  std::fill(fieldRowCovers_.begin(), fieldRowCovers_.end(), false);
  squareRows_ = fieldRowsCovering_ = 0;
  // The square of the first row reaches `radius_` rows down: they are in before it.
  for (int y = 0; y < std::min(radius_, sight_.height); ++y) {
    if (!eventRows_[static_cast<size_t>(y)]) continue;
    AddRow(y, 1);
    ++squareRows_;
  }
  int found = 0;
  for (int y = 0; y < sight_.height; y += kBatch) {
    const int rows = std::min(kBatch, sight_.height - y);
    bool covers[kBatch];
    for (int k = 0; k < rows; ++k) covers[k] = CoverRow(y + k, k);
    found += FieldRows(y, covers, rows, hits);
  }
  return found;
}

}  // namespace ombrevale
