// The flash limiter on made-up clips: each clip that flashes too much comes out within the limit,
// as a count of its own (a FlashAnalysis that sees only what was shown) finds, and still moving;
// a clip within the limit comes out bit for bit as it went in; a fade that would creep into
// transitions does not; and a change of the shown size mid-run is followed at once.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/PageLayout.h"
#include "platform/flash/FlashAnalysis.h"
#include "platform/flash/FlashLimiter.h"

namespace ombrevale {
namespace {

constexpr int kFrameMs = 20, kPerSecond = 50;
constexpr Pixel kBlack = Rgb(0, 0, 0), kWhite = Rgb(255, 255, 255);

// What came out of the limiter.
struct Shown {
  int framesChanged = 0;
  int mostGeneral = 0, mostRed = 0;  // transitions in a second, counted afresh
  std::vector<bool> whiteIn;         // per second: whether a frame showed the clip's own white
  std::vector<int> changedAt;        // the frames it changed
};

// Passes `frames` frames through a limiter; `paint` draws frame i, `scaleAt` says the size it is
// shown at. The frames shown are counted by an analysis of their own at the same sizes.
Shown Limited(int frames, const std::function<void(int, Surface&)>& paint,
              const std::function<double(int)>& scaleAt) {
  FlashLimiter limiter(kCanvasWidth, kCanvasHeight);
  FlashAnalysis judge(kCanvasWidth, kCanvasHeight, scaleAt(0));
  Shown shown;
  Surface canvas(kCanvasWidth, kCanvasHeight), drawn(kCanvasWidth, kCanvasHeight);
  for (int i = 0; i < frames; ++i) {
    limiter.SetShownScale(scaleAt(i));
    judge.SetScale(scaleAt(i));
    canvas.Fill(kBlack);
    paint(i, canvas);
    drawn = canvas;
    const bool changed = limiter.Limit(canvas, static_cast<uint32_t>(1000 + i * kFrameMs));
    EXPECT_EQ(changed, !(canvas == drawn)) << "frame " << i;
    if (changed) {
      ++shown.framesChanged;
      shown.changedAt.push_back(i);
    }
    const FlashWindow second = judge.AddFrame(canvas, static_cast<uint32_t>(1000 + i * kFrameMs));
    EXPECT_EQ(second.generalTransitions, limiter.LastSecond().generalTransitions) << i;
    shown.mostGeneral = std::max(shown.mostGeneral, second.generalTransitions);
    shown.mostRed = std::max(shown.mostRed, second.redTransitions);
    bool white = false;
    for (size_t p = 0; p < canvas.Pixels().size() && !white; ++p)
      white = drawn.Pixels()[p] == kWhite && canvas.Pixels()[p] == kWhite;
    if (i % kPerSecond == 0) shown.whiteIn.push_back(false);
    if (white) shown.whiteIn.back() = true;
  }
  return shown;
}

std::function<double(int)> At(double scale) {
  return [scale](int) { return scale; };
}

Pixel Flicker(int i, int hertz, Pixel dark, Pixel light) {
  return (i * 2 * hertz / kPerSecond) % 2 == 0 ? dark : light;
}

TEST(FlashLimiter, ClipsThatFlashTooMuchComeOutWithinTheLimitAndStillMoving) {
  struct Case {
    const char* name;
    double scale;
    std::function<void(int, Surface&)> paint;
  };
  const Case cases[] = {
      {"the whole canvas at 5 Hz", 1,
       [](int i, Surface& c) { c.Fill(Flicker(i, 5, kBlack, kWhite)); }},
      {"a quarter of a field at 10 Hz, at 3x", 3,
       [](int i, Surface& c) {
         c.FillRect({170, 120, 50, 50}, Flicker(i, 10, kBlack, kWhite));
       }},
      {"two opposite flickers at 25 Hz, at 8x", 8,
       [](int i, Surface& c) {
         c.FillRect({200, 100, 20, 10}, Flicker(i, 25, kBlack, kWhite));
         c.FillRect({200, 110, 20, 10}, Flicker(i, 25, kWhite, kBlack));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Shown shown = Limited(6 * kPerSecond, c.paint, At(c.scale));
    EXPECT_GT(shown.framesChanged, 0);
    EXPECT_LE(shown.mostGeneral, FlashLimiter::kMostPerSecond);
    // Kept up, it goes on moving: every second shows the clip's own white.
    EXPECT_EQ(std::count(shown.whiteIn.begin(), shown.whiteIn.end(), false), 0);
  }

  // A dark red at 5 Hz, a red flash only.
  const Shown red = Limited(
      4 * kPerSecond, [](int i, Surface& c) { c.Fill(Flicker(i, 5, kBlack, Rgb(75, 0, 0))); },
      At(1));
  EXPECT_GT(red.framesChanged, 0);
  EXPECT_LE(red.mostRed, FlashLimiter::kMostPerSecond);
}

TEST(FlashLimiter, ClipsWithinTheLimitPassUntouched) {
  uint32_t state = 88172645u;
  const std::function<void(int, Surface&)> clips[] = {
      // Once a second, a flash of the whole canvas.
      [](int i, Surface& c) { c.Fill(Flicker(i, 1, kBlack, kWhite)); },
      // 18 % of a field at 10 Hz, at 8x.
      [](int i, Surface& c) {
        c.FillRect({100, 100, 16, 16}, Flicker(i, 10, kBlack, kWhite));
      },
      // Pixel noise at 3x.
      [&](int, Surface& c) {
        for (int y = 0; y < kCanvasHeight; ++y)
          for (int x = 0; x < kCanvasWidth; ++x) {
            state ^= state << 13, state ^= state >> 17, state ^= state << 5;
            c.Set(x, y, (state >> 9) & 1 ? kWhite : kBlack);
          }
      },
      // A burst of 6 transitions in a second, then stillness.
      [](int i, Surface& c) { c.Fill(i < 30 ? Flicker(i, 5, kBlack, kWhite) : kBlack); },
  };
  const double scales[] = {1, 8, 3, 2};
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(Limited(4 * kPerSecond, clips[k], At(scales[k])).framesChanged, 0);
  }
}

TEST(FlashLimiter, AFadeCreepingTowardsATransitionDoesNotReachIt) {
  // A quarter of the canvas climbs by 0.03 of luminance a frame for 10 frames, then drops to
  // black: each climb would be a rise, each drop a fall. Held, the climbs must not add up into
  // transitions over the frames.
  const auto grey = [](double luminance) {
    for (int v = 0; v < 256; ++v)
      if (RelativeLuminance(Rgb(v, v, v)) >= luminance) return Rgb(v, v, v);
    return kWhite;
  };
  const Shown shown = Limited(
      8 * kPerSecond,
      [&](int i, Surface& c) {
        c.FillRect({0, 0, 200, 150}, grey(0.03 * (i % 11)));
      },
      At(1));
  EXPECT_GT(shown.framesChanged, 0);
  EXPECT_LE(shown.mostGeneral, FlashLimiter::kMostPerSecond);
}

TEST(FlashLimiter, FollowsTheShownSizeWhenItChanges) {
  // A square of 2 % of the canvas at 10 Hz: nothing at natural size, a large flash at 6x. Shown
  // at 1x for two seconds, at 6x for three, at 1x again for four.
  const auto scale = [](int i) { return i >= 2 * kPerSecond && i < 5 * kPerSecond ? 6.0 : 1.0; };
  const Shown shown = Limited(
      9 * kPerSecond,
      [](int i, Surface& c) {
        c.FillRect({100, 100, 50, 50}, Flicker(i, 10, kBlack, kWhite));
      },
      scale);
  ASSERT_FALSE(shown.changedAt.empty());
  EXPECT_GE(shown.changedAt.front(), 2 * kPerSecond);
  EXPECT_LT(shown.changedAt.front(), 2 * kPerSecond + 15) << "limited within its first flashes";
  EXPECT_LE(shown.mostGeneral, FlashLimiter::kMostPerSecond);
  // Back at 1x, where it is no flash, the frames pass untouched at once.
  EXPECT_LT(shown.changedAt.back(), 5 * kPerSecond);
}

}  // namespace
}  // namespace ombrevale
