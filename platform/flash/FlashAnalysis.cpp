#include "platform/flash/FlashAnalysis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>

namespace ombrevale {

namespace {

constexpr int kGeneral = 0, kRed = 1;

// The 256 values of a channel in linear light, made once.
const std::array<float, 256>& LinearTable() {
  static const std::array<float, 256> table = [] {
    std::array<float, 256> t{};
    for (int i = 0; i < 256; ++i) {
      const double c = i / 255.0;
      t[i] = static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return t;
  }();
  return table;
}

// A whole number of pixels from a size in reference pixels, kept within 1 and `most`.
int WholePixels(double size, int most) {
  return static_cast<int>(std::clamp(std::round(size), 1.0, static_cast<double>(most)));
}

// The second as bits of a word: the last `frames` frames, the newest lowest.
uint64_t SecondMask(int frames) {
  return frames >= 64 ? ~uint64_t{0} : (uint64_t{1} << frames) - 1;
}

}  // namespace

float LinearChannel(uint8_t c) {
  return LinearTable()[c];
}

FlashColour MeasureColour(float linearR, float linearG, float linearB) {
  FlashColour c;
  c.luminance = 0.2126f * linearR + 0.7152f * linearG + 0.0722f * linearB;
  c.red = std::max(0.0f, (linearR - linearG - linearB) * 320.0f);
  const float sum = linearR + linearG + linearB;
  c.saturatedRed = sum > 0 && linearR >= 0.8f * sum;
  return c;
}

float RelativeLuminance(Pixel p) {
  const auto& linear = LinearTable();
  return MeasureColour(linear[(p >> 16) & 0xFF], linear[(p >> 8) & 0xFF], linear[p & 0xFF])
      .luminance;
}

FlashAnalysis::FlashAnalysis(int width, int height, double scale, int framesPerSecond)
    : width_(width), height_(height), framesPerSecond_(framesPerSecond) {
  if (width <= 0 || height <= 0 || !(scale > 0) || !std::isfinite(scale) || framesPerSecond < 1 ||
      framesPerSecond > kMaxFramesPerSecond)
    throw std::invalid_argument(
        "a flash analysis needs a page, a scale and up to 64 frames a second");
  cell_ = WholePixels(kReferenceCell / scale, std::max(width, height));
  cellsAcross_ = (width + cell_ - 1) / cell_;
  cellsDown_ = (height + cell_ - 1) / cell_;
  cellOfColumn_.resize(width);
  for (int x = 0; x < width; ++x) cellOfColumn_[x] = x / cell_;
  fieldW_ = WholePixels(kReferenceFieldWidth / scale, width);
  fieldH_ = WholePixels(kReferenceFieldHeight / scale, height);
  // A quarter of the field in canvas pixels; a hair under, so that a quarter met exactly counts
  // however the division rounds.
  const double quarter = kReferenceFieldWidth * kReferenceFieldHeight / 4.0 / (scale * scale);
  needed_ = static_cast<int>(std::clamp(std::ceil(quarter - 1e-6), 1.0, 1e9));
  placesAcross_ = width - fieldW_ + 1;
  placesDown_ = height - fieldH_ + 1;

  const size_t cells = static_cast<size_t>(cellsAcross_) * cellsDown_;
  sumR_.resize(cells);
  sumG_.resize(cells);
  sumB_.resize(cells);
  swings_.resize(cells);
  redSwings_.resize(cells);
  events_.resize(cells);
  cellPixels_.resize(cells);
  for (int cy = 0; cy < cellsDown_; ++cy)
    for (int cx = 0; cx < cellsAcross_; ++cx)
      cellPixels_[static_cast<size_t>(cy) * cellsAcross_ + cx] =
          (std::min(width, (cx + 1) * cell_) - cx * cell_) *
          (std::min(height, (cy + 1) * cell_) - cy * cell_);
  table_.resize(static_cast<size_t>(width + 1) * (height + 1));
  const size_t places = static_cast<size_t>(placesAcross_) * placesDown_;
  placeHit_.resize(places);
  for (auto& h : history_) h.assign(places, 0);
  for (auto& c : count_) c.assign(places, 0);
  std::fill(std::begin(lastHit_), std::end(lastHit_), std::numeric_limits<int64_t>::min() / 2);
}

std::string FlashAnalysis::Seeing() const {
  char text[200];
  std::snprintf(text, sizeof text,
                "a 10-degree field is %d x %d pixels of the canvas, a transition covers %d of "
                "them; colours averaged over cells of %d x %d pixels",
                fieldW_, fieldH_, needed_, cell_, cell_);
  return text;
}

void FlashAnalysis::MeasureCells(const Surface& frame) {
  const auto& linear = LinearTable();
  std::fill(sumR_.begin(), sumR_.end(), 0.0f);
  std::fill(sumG_.begin(), sumG_.end(), 0.0f);
  std::fill(sumB_.begin(), sumB_.end(), 0.0f);
  for (int y = 0; y < height_; ++y) {
    const Pixel* row = frame.Row(y);
    const size_t cellRow = static_cast<size_t>(y / cell_) * cellsAcross_;
    for (int x = 0; x < width_; ++x) {
      const Pixel p = row[x];
      const size_t c = cellRow + cellOfColumn_[x];
      sumR_[c] += linear[(p >> 16) & 0xFF];
      sumG_[c] += linear[(p >> 8) & 0xFF];
      sumB_[c] += linear[p & 0xFF];
    }
  }
}

int FlashAnalysis::Swing::Step(float v) {
  if (direction >= 0 && high - v >= kGeneralStep && v < kDarkLimit) {
    direction = -1;
  } else if (direction <= 0 && v - low >= kGeneralStep && low < kDarkLimit) {
    direction = 1;
  } else {
    low = std::min(low, v);
    high = std::max(high, v);
    return 0;
  }
  low = high = v;
  return direction;
}

int FlashAnalysis::RedSwing::Step(float m, bool saturated) {
  if (direction >= 0 && high - m > kRedStep && (highSaturated || saturated)) {
    direction = -1;
  } else if (direction <= 0 && m - low > kRedStep && (lowSaturated || saturated)) {
    direction = 1;
  } else {
    if (m < low) {
      low = m;
      lowSaturated = saturated;
    }
    if (m > high) {
      high = m;
      highSaturated = saturated;
    }
    return 0;
  }
  low = high = m;
  lowSaturated = highSaturated = saturated;
  return direction;
}

FlashWindow FlashAnalysis::AddFrame(const Surface& frame) {
  if (frame.Width() != width_ || frame.Height() != height_)
    throw std::invalid_argument("a frame of another size than the analysis's page");
  MeasureCells(frame);

  // Each cell's transitions, and how many pixels the cells of each kind cover.
  int pixelsOf[kKinds] = {};
  for (size_t c = 0; c < events_.size(); ++c) {
    const float n = static_cast<float>(cellPixels_[c]);
    const FlashColour colour = MeasureColour(sumR_[c] / n, sumG_[c] / n, sumB_[c] / n);
    uint8_t events = 0;
    if (first_) {
      swings_[c] = {colour.luminance, colour.luminance, 0};
      redSwings_[c] = {colour.red, colour.red, colour.saturatedRed, colour.saturatedRed, 0};
    } else {
      if (swings_[c].Step(colour.luminance) != 0) events |= 1 << kGeneral;
      if (redSwings_[c].Step(colour.red, colour.saturatedRed) != 0) events |= 1 << kRed;
    }
    events_[c] = events;
    for (int k = 0; k < kKinds; ++k)
      if (events & (1 << k)) pixelsOf[k] += cellPixels_[c];
  }
  first_ = false;

  // The places whose field holds enough of each kind: none where the whole canvas holds too few.
  const int64_t now = frame_++;
  std::fill(placeHit_.begin(), placeHit_.end(), 0);
  for (int k = 0; k < kKinds; ++k) {
    if (pixelsOf[k] < needed_) continue;
    FindFields(k);
    lastHit_[k] = now;
  }
  MoveSeconds(now);

  FlashWindow window;
  window.general = MostFlashes(now, kGeneral, window.generalField);
  window.red = MostFlashes(now, kRed, window.redField);
  return window;
}

void FlashAnalysis::MoveSeconds(int64_t now) {
  // The newest bit comes in, the oldest goes. A kind no place held for a second is all quiet,
  // and stays so without a look.
  const uint64_t mask = SecondMask(framesPerSecond_);
  const int oldest = framesPerSecond_ - 1;
  for (int k = 0; k < kKinds; ++k) {
    if (now - lastHit_[k] > framesPerSecond_) continue;
    uint64_t* history = history_[k].data();
    uint8_t* count = count_[k].data();
    for (size_t p = 0; p < placeHit_.size(); ++p) {
      const uint64_t in = (placeHit_[p] >> k) & 1, h = history[p];
      count[p] = static_cast<uint8_t>(count[p] + in - ((h >> oldest) & 1));
      history[p] = ((h << 1) | in) & mask;
    }
  }
}

int FlashAnalysis::MostFlashes(int64_t now, int kind, Rect& field) const {
  if (now - lastHit_[kind] > framesPerSecond_) return 0;
  // Two transitions make a flash: the most transitions of any place, then the first place with
  // as many.
  const uint8_t* count = count_[kind].data();
  const uint8_t most = *std::max_element(count, count + placeHit_.size());
  if (most < 2) return 0;
  const size_t p = std::find(count, count + placeHit_.size(), most) - count;
  field = {static_cast<int>(p % placesAcross_), static_cast<int>(p / placesAcross_), fieldW_,
           fieldH_};
  return most / 2;
}

void FlashAnalysis::FindFields(int kind) {
  // The summed area of the pixels whose cells made a transition of this kind.
  const size_t stride = static_cast<size_t>(width_) + 1;
  for (int y = 0; y < height_; ++y) {
    const uint8_t* cells = events_.data() + static_cast<size_t>(y / cell_) * cellsAcross_;
    const int32_t* above = table_.data() + static_cast<size_t>(y) * stride;
    int32_t* row = table_.data() + static_cast<size_t>(y + 1) * stride;
    int32_t sum = 0;
    for (int x = 0; x < width_; ++x) {
      sum += (cells[cellOfColumn_[x]] >> kind) & 1;
      row[x + 1] = above[x + 1] + sum;
    }
  }
  for (int py = 0; py < placesDown_; ++py) {
    const int32_t* top = table_.data() + static_cast<size_t>(py) * stride;
    const int32_t* bottom = table_.data() + static_cast<size_t>(py + fieldH_) * stride;
    uint8_t* hits = placeHit_.data() + static_cast<size_t>(py) * placesAcross_;
    for (int px = 0; px < placesAcross_; ++px) {
      const int32_t inside = bottom[px + fieldW_] - bottom[px] - top[px + fieldW_] + top[px];
      if (inside >= needed_) hits[px] |= static_cast<uint8_t>(1 << kind);
    }
  }
}

}  // namespace ombrevale
