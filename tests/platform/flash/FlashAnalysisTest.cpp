// The flash count on made-up frames whose flashes are known: flickers of the whole canvas at known
// rates, flickers over areas either side of a quarter of a 10-degree field or sharing one, red
// against black, grey and orange, fades and pale flickers that are no flash.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/PageLayout.h"
#include "platform/flash/FlashAnalysis.h"
#include "platform/flash/FlashTally.h"

namespace ombrevale {
namespace {

constexpr int kPerSecond = 50;
constexpr Pixel kBlack = Rgb(0, 0, 0), kWhite = Rgb(255, 255, 255);

// What a run of frames counted: the second up to each frame, and the run's record.
struct Counted {
  std::vector<FlashWindow> seconds;
  FlashTally tally{0, kPerSecond};

  int MostGeneral() const { return tally.General().flashes; }
  int MostRed() const { return tally.Red().flashes; }
};

// Counts the flashes of `frames` canvases through the analysis at `scale`; `paint` draws frame i.
Counted Count(double scale, int frames, const std::function<void(int, Surface&)>& paint) {
  FlashAnalysis analysis(kCanvasWidth, kCanvasHeight, scale, kPerSecond);
  Counted counted;
  Surface canvas(kCanvasWidth, kCanvasHeight);
  for (int i = 0; i < frames; ++i) {
    canvas.Fill(kBlack);
    paint(i, canvas);
    counted.seconds.push_back(analysis.AddFrame(canvas));
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
    int secondsOver;  // of 5: the first second has no frame before its first, so one change less
  };
  for (const Case c : {Case{2, 0}, Case{3, 0}, Case{4, 4}, Case{10, 5}}) {
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
                "most flashes in one second: 4 general, 0 red (threshold 3); seconds over it: 4 "
                "of 5\n");
    }
  }
}

TEST(FlashCount, AFlickerCountsWhereItCoversAQuarterOfOneField) {
  struct Case {
    double scale;
    Rect area;  // flickering at 10 Hz; on whole cells (3 pixels at 1x, 2 at 2x)
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
  // concurrent, and in one field together they cover more than a quarter.
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
  // Black to white over two seconds and back, twice: each change is two seconds from the last.
  const Counted fade = Count(1, 8 * kPerSecond, [](int i, Surface& canvas) {
    const int step = i % 200;
    canvas.Fill(GreyOf((step < 100 ? step : 200 - step) / 100.0f));
  });
  EXPECT_EQ(fade.MostGeneral(), 0);

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
  // change of 0.1, each climb and each fall is one.
  const Counted steps = Count(1, 4 * kPerSecond, [](int i, Surface& canvas) {
    const int step = i % 24;
    canvas.Fill(GreyOf(0.08f * static_cast<float>(step < 12 ? step : 24 - step)));
  });
  EXPECT_EQ(steps.MostGeneral(), 2);
  EXPECT_EQ(steps.tally.SecondsOver(), 0);
}

}  // namespace
}  // namespace ombrevale
