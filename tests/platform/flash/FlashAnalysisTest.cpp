// The flash count on made-up frames whose flashes are known: flickers of the whole canvas at known
// rates, flickers over areas either side of a quarter of a 10-degree field or sharing one, wherever
// they lie, red against black, grey and orange, fades, pale flickers and fine balanced patterns
// that are no flash, and seconds that are seconds of the clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/PageLayout.h"
#include "platform/flash/FlashAnalysis.h"
#include "platform/flash/FlashTally.h"

namespace ombrevale {
namespace {

constexpr int kPerSecond = 50, kFrameMs = 1000 / kPerSecond;
constexpr Pixel kBlack = Rgb(0, 0, 0), kWhite = Rgb(255, 255, 255);

// What a run of frames counted: the second up to each frame, and the run's record.
struct Counted {
  std::vector<FlashWindow> seconds;
  FlashTally tally{0, kPerSecond};

  int MostGeneral() const { return tally.General().flashes; }
  int MostRed() const { return tally.Red().flashes; }
};

// Counts the flashes of `frames` canvases through the analysis at `scale`, frame i shown at
// `msOf(i)`; `paint` draws frame i.
Counted Count(
    double scale, int frames, const std::function<void(int, Surface&)>& paint,
    const std::function<uint32_t(int)>& msOf = [](int i) { return i * kFrameMs; }) {
  FlashAnalysis analysis(kCanvasWidth, kCanvasHeight, scale);
  Counted counted;
  Surface canvas(kCanvasWidth, kCanvasHeight);
  for (int i = 0; i < frames; ++i) {
    canvas.Fill(kBlack);
    paint(i, canvas);
    counted.seconds.push_back(analysis.AddFrame(canvas, msOf(i)));
    counted.tally.Add(counted.seconds.back());
  }
  return counted;
}

// Frame i of a flicker at `hertz` between `dark` and `light` (dark first): each half period is
// 25 / hertz frames, so a second holds 2 x hertz changes wherever it starts.
Pixel Flicker(int i, int hertz, Pixel dark, Pixel light) {
  return (i * 2 * hertz / kPerSecond) % 2 == 0 ? dark : light;
}

// The darkest grey whose relative luminance is at least `luminance`.
Pixel GreyOf(float luminance) {
  for (int v = 0; v < 255; ++v)
    if (RelativeLuminance(Rgb(v, v, v)) >= luminance) return Rgb(v, v, v);
  return kWhite;
}

TEST(FlashCount, FullCanvasFlickerCountsItsRateInEverySecond) {
  struct Case {
    int hertz;
    // Of 5. The first second has no frame before its first, so one change less: at 4 Hz its
    // 7 transitions are still 4 flashes, and at 3 Hz 5 are 3.
    int secondsOver;
  };
  for (const Case c : {Case{2, 0}, Case{3, 0}, Case{4, 5}, Case{10, 5}}) {
    SCOPED_TRACE(c.hertz);
    const Counted run = Count(1, 5 * kPerSecond, [&](int i, Surface& canvas) {
      canvas.Fill(Flicker(i, c.hertz, kBlack, kWhite));
    });
    for (int i = kPerSecond; i < 5 * kPerSecond; ++i) {
      ASSERT_EQ(run.seconds[i].general, c.hertz) << "the second up to frame " << i;
      ASSERT_EQ(run.seconds[i].red, 0);
    }
    EXPECT_EQ(run.MostGeneral(), c.hertz);
    EXPECT_EQ(run.tally.WholeSeconds(), 5);
    EXPECT_EQ(run.tally.SecondsOver(), c.secondsOver);
    if (c.hertz == 4) {
      EXPECT_EQ(run.tally.LastLine(),
                "most flashes in one second: 4 general, 0 red (threshold 3); seconds over it: 5 "
                "of 5\n");
    }
  }
}

TEST(FlashCount, AFlickerCountsWhereItCoversAQuarterOfOneField) {
  struct Case {
    double scale;
    Rect area;  // flickering at 10 Hz
    int flashes;
  };
  // A quarter of a field is 21824 canvas pixels at 1x, 5456 at 2x.
  const Case cases[] = {
      {1, {30, 60, 291, 75}, 10},  // 21825 pixels
      {1, {30, 60, 303, 72}, 0},   // 21816
      {2, {100, 80, 88, 62}, 10},  // 5456: a quarter exactly
      {2, {100, 80, 94, 58}, 0},   // 5452
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.scale << "x, " << c.area.w << " x " << c.area.h);
    const Counted run = Count(c.scale, 2 * kPerSecond, [&](int i, Surface& canvas) {
      canvas.FillRect(c.area, Flicker(i, 10, kBlack, kWhite));
    });
    EXPECT_EQ(run.MostGeneral(), c.flashes);
    const Rect field = run.tally.General().field;
    if (c.flashes > 0) {
      EXPECT_EQ(field.Intersect(c.area), c.area) << "the field named holds the flicker";
      EXPECT_EQ(field.w, c.scale == 1 ? 341 : 171);
      EXPECT_EQ(field.h, c.scale == 1 ? 256 : 128);
    }
  }

  // Two flickers under a quarter each, one dark while the other is light: their flashes are
  // concurrent, and in one field together they cover more than a quarter, less the band along
  // their border where rises and falls cancel.
  const Counted opposite = Count(1, 2 * kPerSecond, [](int i, Surface& canvas) {
    canvas.FillRect({30, 60, 303, 72}, Flicker(i, 10, kBlack, kWhite));
    canvas.FillRect({30, 132, 303, 72}, Flicker(i, 10, kWhite, kBlack));
  });
  EXPECT_EQ(opposite.MostGeneral(), 10);

  // Two flickers at 2x, each under a quarter and together over it, but too far apart for one
  // field to hold them both.
  const Counted apart = Count(2, 2 * kPerSecond, [](int i, Surface& canvas) {
    canvas.FillRect({0, 0, 60, 50}, Flicker(i, 10, kBlack, kWhite));
    canvas.FillRect({340, 250, 60, 50}, Flicker(i, 10, kBlack, kWhite));
  });
  EXPECT_EQ(apart.MostGeneral(), 0);
}

TEST(FlashCount, RedFlashesNeedASaturatedRedThatChangesEnough) {
  struct Case {
    const char* name;
    Pixel dark, light;
    int general, red;
  };
  const Case cases[] = {
      {"red on black", kBlack, Rgb(255, 0, 0), 5, 5},
      // The same luminance: only its redness changes.
      {"red on grey", Rgb(127, 127, 127), Rgb(255, 0, 0), 0, 5},
      // (R - G - B) x 320 in linear light: 19.6 and 22.5, either side of 20.
      {"dark red", kBlack, Rgb(70, 0, 0), 0, 0},
      {"a darker red that counts", kBlack, Rgb(75, 0, 0), 0, 5},
      // Red enough in the measure, but red is 74 % of its light, not 80: a general flash only.
      {"orange", kBlack, Rgb(255, 160, 0), 5, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Counted run = Count(1, 2 * kPerSecond, [&](int i, Surface& canvas) {
      canvas.Fill(Flicker(i, 5, c.dark, c.light));
    });
    EXPECT_EQ(run.MostGeneral(), c.general);
    EXPECT_EQ(run.MostRed(), c.red);
  }
}

TEST(FlashCount, FadesAndPaleFlickersAreNoFlashButSmallStepsAddUp) {
  // Black to white over two seconds and back, twice: each change is two seconds from the last,
  // one transition alone in its second.
  const Counted fade = Count(1, 8 * kPerSecond, [](int i, Surface& canvas) {
    const int step = i % 200;
    canvas.Fill(GreyOf((step < 100 ? step : 200 - step) / 100.0f));
  });
  EXPECT_EQ(fade.tally.General().transitions, 1);
  EXPECT_EQ(fade.tally.SecondsOver(), 0);

  // Between white and a grey whose luminance is 0.807, then 0.799: only the darker side below
  // 0.8 makes a flash.
  ASSERT_GE(RelativeLuminance(Rgb(232, 232, 232)), 0.8f);
  ASSERT_LT(RelativeLuminance(Rgb(231, 231, 231)), 0.8f);
  for (const int grey : {232, 231}) {
    SCOPED_TRACE(grey);
    const Counted pale = Count(1, 2 * kPerSecond, [&](int i, Surface& canvas) {
      canvas.Fill(Flicker(i, 10, Rgb(grey, grey, grey), kWhite));
    });
    EXPECT_EQ(pale.MostGeneral(), grey == 232 ? 0 : 10);
  }

  // A flicker of 2 Hz that climbs and falls in steps of 0.08 a frame: no single step is a
  // change of 0.1, each climb and each fall is one; 50 frames hold 4 or 5 of them.
  const Counted steps = Count(1, 4 * kPerSecond, [](int i, Surface& canvas) {
    const int step = i % 24;
    canvas.Fill(GreyOf(0.08f * static_cast<float>(step < 12 ? step : 24 - step)));
  });
  EXPECT_EQ(steps.tally.General().transitions, 5);
  EXPECT_EQ(steps.tally.SecondsOver(), 0);
}

TEST(FlashCount, AQuarterOfAFieldFailsWhereverItLiesAndLessThanAFifthPassesAnywhere) {
  // A square of a quarter of a 10-degree field, and one of 18 %, flickering black and white at
  // 5 Hz in a still surround: 10 transitions a second, or none. Moved anywhere, even into a
  // corner of the canvas, it gives the same count.
  struct Case {
    double scale;
    int quarter, fifth;  // the squares' sides: 25 % (or a little over) and 18 %
  };
  for (const Case c : {Case{1, 148, 126}, Case{3, 50, 42}, Case{8, 19, 16}}) {
    for (const int side : {c.quarter, c.fifth}) {
      const int right = kCanvasWidth - side, bottom = kCanvasHeight - side;
      for (const Rect square : {Rect{0, 0, side, side}, Rect{right, bottom, side, side},
                                Rect{right / 2 + 1, bottom / 3, side, side}}) {
        SCOPED_TRACE(testing::Message() << c.scale << "x, a square of " << side << " at ("
                                        << square.x << ", " << square.y << ")");
        const Counted run = Count(c.scale, 2 * kPerSecond, [&](int i, Surface& canvas) {
          canvas.FillRect(square, Flicker(i, 5, kBlack, kWhite));
        });
        EXPECT_EQ(run.tally.General().transitions, side == c.quarter ? 10 : 0);
      }
    }
  }
}

TEST(FlashCount, SixTransitionsInASecondOfTheClockPassAndSevenFail) {
  // The whole canvas turns white and black again at the frames listed, 20 ms apart; a flash is two
  // transitions, so 6 are 3 flashes and 7 are 4, over the limit.
  const auto changes = [](std::vector<int> at) {
    return [at](int i, Surface& canvas) {
      const auto passed = std::count_if(at.begin(), at.end(), [&](int a) { return a <= i; });
      canvas.Fill(passed % 2 == 0 ? kBlack : kWhite);
    };
  };
  const Counted six = Count(1, 2 * kPerSecond, changes({5, 12, 19, 26, 33, 40}));
  EXPECT_EQ(six.tally.General().transitions, 6);
  EXPECT_EQ(six.MostGeneral(), 3);
  EXPECT_EQ(six.tally.SecondsOver(), 0);

  const Counted seven = Count(1, 2 * kPerSecond, changes({5, 12, 19, 26, 33, 40, 47}));
  EXPECT_EQ(seven.tally.General().transitions, 7);
  EXPECT_EQ(seven.MostGeneral(), 4);
  EXPECT_GT(seven.tally.SecondsOver(), 0);

  // The same seven changes on frames shown with a pause of half a second before the 26th, as a
  // vision that stood still: on the clock they span more than a second, at most 4 in any.
  const Counted paused = Count(1, 2 * kPerSecond, changes({5, 12, 19, 26, 33, 40, 47}),
                               [](int i) { return i * kFrameMs + (i >= 26 ? 500 : 0); });
  EXPECT_EQ(paused.tally.General().transitions, 4);
  EXPECT_EQ(paused.tally.SecondsOver(), 0);
}

TEST(FlashCount, FineBalancedPatternsAreNoFlashButCoarseOnesAre) {
  // Random black and white noise, new every frame: each pixel changes half the time, but within
  // half a degree as many rise as fall.
  uint32_t state = 2463534242u;
  const auto noise = [&](int grain) {
    return [&, grain](int, Surface& canvas) {
      for (int y = 0; y < kCanvasHeight; y += grain)
        for (int x = 0; x < kCanvasWidth; x += grain) {
          state ^= state << 13, state ^= state >> 17, state ^= state << 5;
          canvas.FillRect({x, y, grain, grain}, (state >> 7) & 1 ? kWhite : kBlack);
        }
    };
  };
  // Pixels of 0.088 degree at 3x, and 0.03 at 1x: no flash.
  EXPECT_EQ(Count(3, kPerSecond, noise(1)).tally.General().transitions, 0);
  EXPECT_EQ(Count(1, kPerSecond, noise(1)).tally.General().transitions, 0);
  // The same noise in blocks of a degree and a half is large areas flashing: a transition in
  // nearly every frame.
  EXPECT_GE(Count(3, kPerSecond, noise(16)).tally.General().transitions, 30);

  // A checkerboard of single pixels inverting, and a thin line trembling by a pixel, every frame.
  const Counted checkers = Count(1, kPerSecond, [](int i, Surface& canvas) {
    for (int y = 0; y < kCanvasHeight; ++y)
      for (int x = 0; x < kCanvasWidth; ++x)
        if ((x + y + i) % 2 == 0) canvas.Set(x, y, kWhite);
  });
  EXPECT_EQ(checkers.tally.General().transitions, 0);
  const Counted line = Count(2, kPerSecond, [](int i, Surface& canvas) {
    for (int y = 0; y < kCanvasHeight; y += 4)
      canvas.FillRect({0, y + i % 2, kCanvasWidth, 1}, kWhite);
  });
  EXPECT_EQ(line.tally.General().transitions, 0);
}

}  // namespace
}  // namespace ombrevale
