#include "tools/FlashPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "backends/sdl/layers/Fonts.h"
#include "backends/sdl/SdlHandles.h"

namespace ombrevale {

namespace {

constexpr int kWidth = 1000, kHeight = 440;
// The plotting area inside the margins that hold the title, the ticks' numbers and the legend.
constexpr Rect kArea{64, 62, kWidth - 64 - 24, kHeight - 62 - 56};

constexpr Pixel kPaper = Rgb(255, 255, 255), kInk = Rgb(40, 40, 40), kGrid = Rgb(228, 228, 228);
constexpr Pixel kGeneralInk = Rgb(31, 95, 191), kRedInk = Rgb(214, 32, 32);

// Text in the system's sans, 13 pixels high, laid onto the chart.
class Lettering {
 public:
  explicit Lettering(Surface& chart)
      : chart_(chart), font_(fonts_.OpenPixels("DejaVu Sans", 13, false)) {}

  // The width of `text` in pixels (0 without a font).
  int Width(const std::string& text) {
    int w = 0, h = 0;
    if (font_ != nullptr) TTF_SizeUTF8(font_, text.c_str(), &w, &h);
    return w;
  }

  // Writes `text` with its top left corner at (x, y), blending its edges into the chart.
  void Write(const std::string& text, int x, int y, Pixel colour = kInk) {
    if (font_ == nullptr || text.empty()) return;
    const SDL_Color c{static_cast<Uint8>(colour >> 16), static_cast<Uint8>(colour >> 8),
                      static_cast<Uint8>(colour), 255};
    SurfacePtr drawn(TTF_RenderUTF8_Blended(font_, text.c_str(), c));
    if (!drawn) return;
    SurfacePtr argb(SDL_ConvertSurfaceFormat(drawn.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    if (!argb) return;
    for (int ty = 0; ty < argb->h; ++ty) {
      const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) +
                                                        static_cast<size_t>(ty) * argb->pitch);
      for (int tx = 0; tx < argb->w; ++tx) {
        const int px = x + tx, py = y + ty;
        const unsigned alpha = row[tx] >> 24;
        if (alpha == 0 || !chart_.Bounds().Contains(px, py)) continue;
        chart_.Set(px, py, Blend(chart_.At(px, py), colour, alpha));
      }
    }
  }

 private:
  static Pixel Blend(Pixel under, Pixel over, unsigned alpha) {
    const auto mix = [&](int shift) {
      const unsigned a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
      return ((a * (255 - alpha) + b * alpha + 127) / 255) << shift;
    };
    return mix(16) | mix(8) | mix(0);
  }

  Surface& chart_;
  Fonts fonts_;
  TTF_Font* font_;
};

// A step between ticks that gives at most about `most` of them over `span`: 1, 2 or 5 times a
// power of ten.
double TickStep(double span, int most) {
  for (double power = 1;; power *= 10)
    for (const double m : {1.0, 2.0, 5.0})
      if (span / (m * power) <= most) return m * power;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// The chart as it is drawn: its picture and lettering, and how flashes (up the side) and seconds of
// the run (along the bottom) map onto its plotting area.
class Chart {
 public:
  explicit Chart(const FlashTally& tally) : counts_(tally.PerFrame()) {
    frames_ = std::max<int>(1, static_cast<int>(counts_.size()));
    const double perSecond = tally.FramesPerSecond();
    start_ = tally.FirstFrame() / perSecond;
    span_ = frames_ / perSecond;
    // The flashes axis reaches past the most seen and the threshold, in whole flashes.
    top_ = FlashTally::kThreshold + 2;
    for (const FlashTally::Counts& c : counts_) top_ = std::max({top_, c.general + 1, c.red + 1});
    yStep_ = std::max(1.0, TickStep(top_, 10));
    top_ = static_cast<int>(std::ceil(top_ / yStep_) * yStep_);
  }

  // Grid and ticks.
  void Grid() {
    for (double v = 0; v <= top_; v += yStep_) {
      const int y = YOf(v);
      picture_.FillRect({kArea.x, y, kArea.w, 1}, kGrid);
      picture_.FillRect({kArea.x - 5, y, 5, 1}, kInk);
      const std::string label = Number(v);
      text_.Write(label, kArea.x - 8 - text_.Width(label), y - 8);
    }
    const double xStep = TickStep(span_, 12);
    for (double t = std::ceil(start_ / xStep) * xStep; t <= start_ + span_ + 1e-9; t += xStep) {
      const int x = kArea.x + static_cast<int>(std::lround((t - start_) / span_ * (kArea.w - 1)));
      picture_.FillRect({x, kArea.y, 1, kArea.h}, kGrid);
      picture_.FillRect({x, kArea.y + kArea.h, 1, 5}, kInk);
      const std::string label = Number(t);
      text_.Write(label, x - text_.Width(label) / 2, kArea.y + kArea.h + 7);
    }
  }

  // The threshold, dashed.
  void Threshold() {
    const int y = YOf(FlashTally::kThreshold);
    for (int x = kArea.x; x < kArea.x + kArea.w; x += 10)
      picture_.FillRect({x, y - 1, std::min(6, kArea.x + kArea.w - x), 2}, kInk);
  }

  // One kind of flash over the run. Each column of the area shows the most of the frames it
  // covers, so no flash is lost between columns.
  template <typename Value>
  void Line(Value value, int thickness, Pixel ink) {
    int before = -1;
    for (int column = 0; column < kArea.w; ++column) {
      const int from = static_cast<int>(static_cast<long long>(column) * frames_ / kArea.w);
      const int to = std::max(from + 1, static_cast<int>((column + 1LL) * frames_ / kArea.w));
      int most = 0;
      for (int i = from; i < std::min(to, static_cast<int>(counts_.size())); ++i)
        most = std::max(most, value(counts_[i]));
      const int y = YOf(most), x = kArea.x + column;
      const int lo = before < 0 ? y : std::min(before, y),
                hi = before < 0 ? y : std::max(before, y);
      picture_.FillRect({x - thickness / 2, lo - thickness / 2, thickness, hi - lo + thickness},
                        ink);
      before = y;
    }
  }

  // The axes over everything, then the words: the title, what is counted, the legend.
  void Words(const std::string& title) {
    picture_.FillRect({kArea.x, kArea.y, 1, kArea.h}, kInk);
    picture_.FillRect({kArea.x, kArea.y + kArea.h, kArea.w, 1}, kInk);
    text_.Write(title, kArea.x - 8, 10);
    text_.Write("flashes in the second up to each frame", kArea.x - 8, 36);
    const std::string seconds = "seconds of the run";
    text_.Write(seconds, kArea.x + (kArea.w - text_.Width(seconds)) / 2, kHeight - 24);
    int x = kArea.x + kArea.w - 8;
    const auto legend = [&](const std::string& label, Pixel ink, int thickness, bool dashed) {
      x -= text_.Width(label);
      text_.Write(label, x, 36);
      x -= 34;
      for (int i = 0; i < 28; i += dashed ? 10 : 28)
        picture_.FillRect({x + i, 44 - thickness / 2, dashed ? 6 : 28, thickness}, ink);
      x -= 18;
    };
    legend("threshold: " + std::to_string(FlashTally::kThreshold), kInk, 2, true);
    legend("red", kRedInk, 1, false);
    legend("general", kGeneralInk, 3, false);
  }

  Surface Picture() { return std::move(picture_); }

 private:
  int YOf(double flashes) const {
    return kArea.y + kArea.h - 1 - static_cast<int>(std::lround(flashes * (kArea.h - 1) / top_));
  }

  const std::vector<FlashTally::Counts>& counts_;
  Surface picture_{kWidth, kHeight, kPaper};
  Lettering text_{picture_};
  int frames_ = 1, top_ = 0;
  double start_ = 0, span_ = 1, yStep_ = 1;
};

}  // namespace

Surface DrawFlashPlot(const FlashTally& tally, const std::string& title) {
  Chart chart(tally);
  chart.Grid();
  chart.Threshold();
  // General broad, red narrow over it, so both show where they are equal.
  chart.Line([](const FlashTally::Counts& c) { return int{c.general}; }, 3, kGeneralInk);
  chart.Line([](const FlashTally::Counts& c) { return int{c.red}; }, 1, kRedInk);
  chart.Words(title);
  return chart.Picture();
}

}  // namespace ombrevale
