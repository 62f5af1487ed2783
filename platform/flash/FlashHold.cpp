#include "platform/flash/FlashHold.h"

#include <algorithm>
#include <cmath>

namespace ombrevale {

namespace {

// What rounding a blend to 8-bit channels can move it by, at most: half the widest step between
// two channels' light (at the bright end, 291 units), once in the luminance and once per channel
// in the red measure.
constexpr double kLuminanceReserve = 300, kRedReserve = 900;
constexpr double kUnbounded = 1e12;

// The largest share of the way from `from` to `to` that stays within `low` to `high`, when
// `from` does (else 0).
double ShareWithin(double from, double to, double low, double high) {
  if (to > high) return std::clamp((high - from) / (to - from), 0.0, 1.0);
  if (to < low) return std::clamp((low - from) / (to - from), 0.0, 1.0);
  return 1;
}

// How far the luminance may go from `shown` to `wanted` without a transition.
double LuminanceShare(const PixelSwing& s, const LinearRgb& shown, const LinearRgb& wanted) {
  // No fall while it stays above a tenth under the highest, or at 0.8 and over; no rise while
  // it stays within a tenth over the lowest, or the lowest is at 0.8 or over.
  const double low = s.way < 0
                         ? -kUnbounded
                         : std::min(s.high - kLuminanceStep + 1, kDarkLimit) + kLuminanceReserve;
  const double high = s.way > 0 || s.low >= kDarkLimit
                          ? kUnbounded
                          : s.low + kLuminanceStep - 1 - kLuminanceReserve;
  return ShareWithin(LuminanceOf(shown), LuminanceOf(wanted), low, high);
}

// How far the red measure may go without a red transition. It is R - G - B where that is above
// 0, so along the blend it moves with R - G - B; a saturated red lies on the blend where it lies at
// one of its ends, and only a move towards or from one can make a transition.
double RedShare(const PixelSwing& s, const LinearRgb& shown, const LinearRgb& wanted) {
  const auto excess = [](const LinearRgb& c) { return static_cast<double>(c.r - c.g - c.b); };
  const bool saturated =
      shown.r >= 4 * (shown.g + shown.b) || wanted.r >= 4 * (wanted.g + wanted.b);
  double low = -kUnbounded, high = kUnbounded;
  if (s.redWay >= 0 && (s.redHighSaturated || saturated)) {
    const double least = s.redHigh - kRedStep + 1 + kRedReserve;
    if (least > 0) low = least;
  }
  if (s.redWay <= 0 && (s.redLowSaturated || saturated))
    high = s.redLow + kRedStep - 1 - kRedReserve;
  return ShareWithin(excess(shown), excess(wanted), low, high);
}

// `a` a `share` of the way to `b`, each channel in 8 bits by `channels` (ChannelsOfLinear).
Pixel Blend(const LinearRgb& a, const LinearRgb& b, double share, const uint8_t* channels) {
  const auto mix = [&](int from, int to) {
    return channels[static_cast<int>(from + share * (to - from) + 0.5)];
  };
  return Rgb(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

LinearRgb LinearWith(Pixel p, const int* units) {
  return {units[(p >> 16) & 0xFF], units[(p >> 8) & 0xFF], units[p & 0xFF]};
}

Pixel Held(const PixelSwing& swing, Pixel shown, Pixel wanted, const int* units,
           const uint8_t* channels) {
  const LinearRgb a = LinearWith(shown, units), b = LinearWith(wanted, units);
  const double share = std::min(LuminanceShare(swing, a, b), RedShare(swing, a, b));
  if (share <= 0) return shown;
  return Blend(a, b, share, channels);
}

}  // namespace

Pixel BlendInLinearLight(Pixel shown, Pixel wanted, double share) {
  return Blend(LinearOf(shown), LinearOf(wanted), share, ChannelsOfLinear());
}

Pixel HeldColour(const PixelSwing& swing, Pixel shown, Pixel wanted) {
  return Held(swing, shown, wanted, LinearUnits(), ChannelsOfLinear());
}

void HoldPixels(const PixelPlanes& planes, size_t start, const int* xs, size_t count,
                const Pixel* shown, Pixel* row) {
  const int* units = LinearUnits();
  const uint8_t* channels = ChannelsOfLinear();
  // Neighbours alike (a flat area flashing) are held alike: the last one's answer is kept.
  PixelSwing lastSwing;
  Pixel lastShown = 0, lastWanted = 0, lastHeld = 0;
  bool any = false;
  for (size_t k = 0; k < count; ++k) {
    const int x = xs[k];
    const PixelSwing swing = planes.Swing(start + x);
    if (!any || swing != lastSwing || shown[x] != lastShown || row[x] != lastWanted) {
      lastSwing = swing;
      lastShown = shown[x];
      lastWanted = row[x];
      lastHeld = Held(swing, shown[x], row[x], units, channels);
      any = true;
    }
    row[x] = lastHeld;
  }
}

}  // namespace ombrevale
