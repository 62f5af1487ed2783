#include "platform/flash/FlashFields.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace ombrevale {

namespace {

// The weight of one unit of a square wholly on the canvas: as fine as a pixel's cover fits in 32
// bits (a square's pixels times the weight stay under 2^22), and at least 64. A clipped square's
// weight is scaled up from it by the square's full area over its clipped one, rounded.
int64_t WeightFor(int net) {
  return std::max<int64_t>(64, (int64_t{1} << 22) / (int64_t{net} * net));
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
      rowSums_(static_cast<size_t>(sight.net + 1) * sight.width),
      columns_(sight.width),
      covered_(sight.width),
      fieldRows_(static_cast<size_t>(sight.fieldHeight) * sight.placesAcross),
      fieldSums_(sight.placesAcross) {
  const int64_t full = int64_t{sight.net} * sight.net * WeightFor(sight.net);
  for (int rows = 1; rows <= sight.net; ++rows)
    for (int x = 0; x < sight.width; ++x) {
      const int64_t area = int64_t{rows} * Inside(x, radius_, sight.width);
      weights_[static_cast<size_t>(rows) * sight.width + x] =
          static_cast<int32_t>((full + area / 2) / area);
    }
}

void FieldFinder::SumRow(const int8_t* events, int y) {
  const int w = sight_.width;
  const int8_t* e = events + static_cast<size_t>(y) * w;
  int16_t* out = rowSums_.data() + static_cast<size_t>(y % (sight_.net + 1)) * w;
  int sum = 0;
  for (int x = 0; x < std::min(radius_, w); ++x) sum += e[x];
  for (int x = 0; x < w; ++x) {
    if (x + radius_ < w) sum += e[x + radius_];
    out[x] = static_cast<int16_t>(sum);
    if (x - radius_ >= 0) sum -= e[x - radius_];
  }
}

void FieldFinder::CoverRow(int y) {
  const int w = sight_.width, h = sight_.height, ring = sight_.net + 1;
  int32_t* columns = columns_.data();
  if (y + radius_ < h) {
    const int16_t* in = rowSums_.data() + static_cast<size_t>((y + radius_) % ring) * w;
    for (int x = 0; x < w; ++x) columns[x] += in[x];
  }
  if (y - radius_ - 1 >= 0) {
    const int16_t* out = rowSums_.data() + static_cast<size_t>((y - radius_ - 1) % ring) * w;
    for (int x = 0; x < w; ++x) columns[x] -= out[x];
  }
  const int32_t* weight = weights_.data() + static_cast<size_t>(Inside(y, radius_, h)) * w;
  int32_t* covered = covered_.data();
  for (int x = 0; x < w; ++x) covered[x] = std::abs(columns[x]) * weight[x];
}

int FieldFinder::FieldRow(int y, uint8_t* hits, uint8_t bit) {
  const int across = sight_.placesAcross, fw = sight_.fieldWidth, fh = sight_.fieldHeight;
  int64_t* row = fieldRows_.data() + static_cast<size_t>(y % fh) * across;
  int64_t* sums = fieldSums_.data();
  if (y >= fh)
    for (int p = 0; p < across; ++p) sums[p] -= row[p];
  int64_t sum = 0;
  for (int x = 0; x < fw - 1; ++x) sum += covered_[x];
  for (int p = 0; p < across; ++p) {
    sum += covered_[p + fw - 1];
    row[p] = sum;
    sums[p] += sum;
    sum -= covered_[p];
  }
  if (y < fh - 1) return 0;
  uint8_t* out = hits + static_cast<size_t>(y - fh + 1) * across;
  int found = 0;
  for (int p = 0; p < across; ++p) {
    const bool hit = sums[p] >= threshold_;
    out[p] = static_cast<uint8_t>(hit ? out[p] | bit : out[p] & ~bit);
    found += hit;
  }
  return found;
}

int FieldFinder::Find(const int8_t* events, uint8_t* hits, uint8_t bit) {
  const size_t pixels = static_cast<size_t>(sight_.width) * sight_.height;
  // Too few transitions anywhere for any field: nothing to add up. (Near the canvas's edges a
  // transition can cover up to 1.2 x 1.2 times its pixel, as its square is clipped.)
  size_t any = 0;
  for (size_t i = 0; i < pixels; ++i) any += events[i] != 0;
  if (3 * any < 2 * static_cast<size_t>(sight_.needed)) {
    for (size_t p = 0; p < static_cast<size_t>(sight_.Places()); ++p)
      hits[p] = static_cast<uint8_t>(hits[p] & ~bit);
    return 0;
  }
  std::fill(columns_.begin(), columns_.end(), 0);
  std::fill(fieldSums_.begin(), fieldSums_.end(), 0);
  // The square of the first row reaches `radius_` rows down: they are in before it.
  for (int y = 0; y < std::min(radius_, sight_.height); ++y) {
    SumRow(events, y);
    const int16_t* in = rowSums_.data() + static_cast<size_t>(y) * sight_.width;
    for (int x = 0; x < sight_.width; ++x) columns_[x] += in[x];
  }
  int found = 0;
  for (int y = 0; y < sight_.height; ++y) {
    if (y + radius_ < sight_.height) SumRow(events, y + radius_);
    CoverRow(y);
    found += FieldRow(y, hits, bit);
  }
  return found;
}

}  // namespace ombrevale
