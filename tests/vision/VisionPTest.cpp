#include <gtest/gtest.h>

#include "platform/raster/BitBlt.h"
#include "vision/VisionTestKit.h"

namespace ombrevale {
namespace {

using world::FrameWorld;
using world::VisionControls;
using world::VisionWorld;
using Seq = std::vector<std::string>;

// Values that never hit a roll: the jitter of every blit comes out 1 or (floor) 0.
constexpr float kMiss = 0.5f;

TEST(CanvasBlits, JitterRoundsHalfToEvenAndEyesFloor) {
  VisionWorld w;
  w.random.script = {0.25f, 0.75f, 0.5f, 0.2499f, 0.9999f, 0.7501f, 0.0f, 0.0f};
  for (int i = 0; i < 4; ++i) w.vision.BlitJitter(w.controls.PicWire, SRCPAINT);
  ASSERT_EQ(w.blits.size(), 4u);
  EXPECT_EQ(w.blits[0].x, 0);  // 0.5 rounds to the even 0
  EXPECT_EQ(w.blits[0].y, 2);  // 1.5 rounds to the even 2
  EXPECT_EQ(w.blits[1].x, 1);
  EXPECT_EQ(w.blits[1].y, 0);
  EXPECT_EQ(w.blits[2].x, 2);
  EXPECT_EQ(w.blits[2].y, 2);
  EXPECT_EQ(w.blits[3].x, 0);
  EXPECT_EQ(w.blits[3].width, kCanvasWidth);
  EXPECT_EQ(w.blits[3].height, kCanvasHeight);

  w.blits.clear();
  w.random.script = {0.25f, 0.75f, 0.5f, 0.4999f, 0.9999f, 0.0f};
  for (int i = 0; i < 3; ++i) w.vision.BlitEye(w.controls.PicPupil);
  ASSERT_EQ(w.blits.size(), 3u);
  EXPECT_EQ(w.blits[0].x, 60);
  EXPECT_EQ(w.blits[0].y, 141);
  EXPECT_EQ(w.blits[1].x, 61);  // floor: 1.0 is 1, never rounded up to 2
  EXPECT_EQ(w.blits[1].y, 140);
  EXPECT_EQ(w.blits[2].x, 61);
  EXPECT_EQ(w.blits[2].y, 140);
  EXPECT_EQ(w.blits[2].width, 150);
  EXPECT_EQ(w.blits[2].height, 60);
  EXPECT_EQ(w.blits[2].rop, SRCPAINT);
  EXPECT_EQ(w.random.draws, 14);
}

TEST(CanvasBlits, AJitteredPictureLeavesTheUncoveredStripsAsTheyWere) {
  VisionWorld w;
  VisionControls& f = w.controls;
  f.PicTitle1.Image.Fill(Rgb(200, 0, 0));
  f.PicBlack.Image = Surface(kCanvasWidth, kCanvasHeight, 0);
  w.random.script = {0.75f, 0.5f};  // offset (2, 1)
  w.vision.BlitJitter(f.PicBlack, SRCCOPY);
  const Surface& c = f.PicTitle1.Image;
  EXPECT_EQ(c.At(1, 150), Rgb(200, 0, 0));  // columns 0..1 and row 0 keep the old frame
  EXPECT_EQ(c.At(200, 0), Rgb(200, 0, 0));
  EXPECT_EQ(c.At(2, 1), 0u);
  EXPECT_EQ(c.At(399, 299), 0u);
}

TEST(CanvasBlits, ANoiseBurstDrawsCountPlusOneBlocksWithFourDrawsEach) {
  VisionWorld w;
  w.vision.NoiseBurst(-1);
  EXPECT_EQ(w.random.draws, 0);
  EXPECT_TRUE(w.blits.empty());

  // Ties round to even: 0.5 x 400 = 200, 0.5 x 300 = 150, 0.5 x 75 = 37.5 -> 38, 0.5 x 50 = 25.
  w.random.script = {0.5f, 0.5f, 0.5f, 0.5f};
  w.vision.NoiseBurst(0);
  EXPECT_EQ(w.random.draws, 4);
  ASSERT_EQ(w.blits.size(), 1u);
  const auto& b = w.blits[0];
  EXPECT_EQ(b.x, 200);
  EXPECT_EQ(b.y, 150);
  EXPECT_EQ(b.sourceX, 38);
  EXPECT_EQ(b.sourceY, 25);
  EXPECT_EQ(b.width, 25);
  EXPECT_EQ(b.height, 25);
  EXPECT_EQ(b.source, "noise");
  EXPECT_EQ(b.rop, SRCINVERT);

  w.blits.clear();
  w.vision.NoiseBurst(100);
  EXPECT_EQ(w.blits.size(), 101u);
  EXPECT_EQ(w.random.draws, 4 + 404);
  for (const auto& block : w.blits) {
    EXPECT_TRUE(block.x >= 0 && block.x <= kCanvasWidth && block.y >= 0 &&
                block.y <= kCanvasHeight);
    EXPECT_TRUE(block.sourceX >= 0 && block.sourceX <= 75 && block.sourceY >= 0 &&
                block.sourceY <= 50);
  }
}

TEST(CanvasBlits, NoiseBlocksXorSoTwinBlocksCancelAndBlocksPastTheEdgeChangeNothing) {
  VisionWorld w;
  VisionControls& f = w.controls;
  Surface noise(100, 75);
  for (int y = 0; y < 75; ++y)
    for (int x = 0; x < 100; ++x) noise.Set(x, y, Rgb(x * 2, y * 3, (x ^ y) & 0xFF));
  f.PicNoise.Image = noise;
  Surface canvas(kCanvasWidth, kCanvasHeight);
  for (int y = 0; y < kCanvasHeight; ++y)
    for (int x = 0; x < kCanvasWidth; ++x) canvas.Set(x, y, Rgb(x & 0xFF, y & 0xFF, 77));
  f.PicTitle1.Image = canvas;

  // Two blocks on the same place from the same cell undo each other.
  w.random.script = {0.1f, 0.2f, 0.3f, 0.4f, 0.1f, 0.2f, 0.3f, 0.4f};
  w.vision.NoiseBurst(1);
  EXPECT_EQ(f.PicTitle1.Image, canvas);

  // One block XORs its 25 x 25 cell in; a block at x = 400 lies wholly outside.
  w.random.script = {0.1f, 0.2f, 0.0f, 0.0f, 0.99999f, 0.5f, 0.0f, 0.0f};
  w.vision.NoiseBurst(1);
  const Surface& c = f.PicTitle1.Image;
  EXPECT_EQ(c.At(40, 60), canvas.At(40, 60) ^ noise.At(0, 0));
  EXPECT_EQ(c.At(64, 84), canvas.At(64, 84) ^ noise.At(24, 24));
  EXPECT_EQ(c.At(65, 60), canvas.At(65, 60));
  EXPECT_EQ(c.At(399, 150), canvas.At(399, 150));
}

TEST(LayerPainters, EachPainterBlitsItsPicturesInOrderWithItsRasterOperations) {
  VisionWorld w;
  // Face: face and the three hair pictures ORed, then the open eye with its pupil.
  w.random.script.assign(8, kMiss);
  w.random.script.push_back(0.9f);  // no blink starts
  w.vision.PaintFace();
  EXPECT_EQ(w.Sequence(), (Seq{"face|", "hair0|", "hair1|", "hair2|", "eye0|", "pupil|"}));
  EXPECT_EQ(w.random.draws, 8 + 1 + 4);

  auto paint = [&w](void (VisionP::*painter)(), std::deque<float> script) {
    w.blits.clear();
    w.random.draws = 0;
    w.random.script = std::move(script);
    (w.vision.*painter)();
    return w.Sequence();
  };
  EXPECT_EQ(paint(&VisionP::PaintBigEye, {}), (Seq{"big_eye|", "big_pupil|"}));
  EXPECT_EQ(w.random.draws, 4);
  // Views: view 2 when e < 0.5, view 3 otherwise; the mask view 1 always last.
  EXPECT_EQ(paint(&VisionP::PaintViews, {kMiss, kMiss, 0.4999f}),
            (Seq{"view0|", "view2|", "view1&"}));
  EXPECT_EQ(paint(&VisionP::PaintViews, {kMiss, kMiss, 0.5f}), (Seq{"view0|", "view3|", "view1&"}));
  EXPECT_EQ(w.random.draws, 7);
  EXPECT_EQ(paint(&VisionP::PaintWire, {}), (Seq{"wire|"}));
  EXPECT_EQ(w.random.draws, 2);

  // Television: 101 noise blocks unless muted, then the mask, then the set.
  w.vision.NoiseMute = 1;
  EXPECT_EQ(paint(&VisionP::PaintTv, {}), (Seq{"tv0&", "tv1|"}));
  EXPECT_EQ(w.random.draws, 4);
  w.vision.NoiseMute = 0;
  Seq tv = paint(&VisionP::PaintTv, {});
  EXPECT_EQ(tv.size(), 103u);
  EXPECT_EQ(tv[0], "noise^");
  EXPECT_EQ(tv[100], "noise^");
  EXPECT_EQ(Seq(tv.end() - 2, tv.end()), (Seq{"tv0&", "tv1|"}));
  EXPECT_EQ(w.random.draws, 408);

  // Noise alone: round(e x 20) + 1 blocks, ties to even.
  EXPECT_EQ(paint(&VisionP::PaintNoise, {0.0f}).size(), 1u);
  EXPECT_EQ(paint(&VisionP::PaintNoise, {0.99f}).size(), 21u);
  EXPECT_EQ(paint(&VisionP::PaintNoise, {0.125f}).size(), 3u);  // 2.5 rounds to 2
  EXPECT_EQ(w.random.draws, 1 + 12);
}

TEST(LayerPainters, TheViewsMaskCutsTheLayerBelowAndTheTvMaskKeepsNoiseInTheScreen) {
  VisionWorld w;
  VisionControls& f = w.controls;
  const Pixel lower = Rgb(90, 40, 200);
  const Surface white(kCanvasWidth, kCanvasHeight, 0x00FFFFFF),
      black(kCanvasWidth, kCanvasHeight, 0);
  Surface mask(kCanvasWidth, kCanvasHeight, 0);
  mask.FillRect({100, 100, 200, 100}, 0x00FFFFFF);  // keeps the middle

  // Views over a lower layer: the mask keeps the middle, lower layer and views alike.
  f.PicTitle1.Image.Fill(lower);
  f.PicView[0].Image = Surface(kCanvasWidth, kCanvasHeight, Rgb(0, 0, 5));
  f.PicView[2].Image = black;
  f.PicView[1].Image = mask;
  w.random.script = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
  w.vision.PaintViews();
  EXPECT_EQ(f.PicTitle1.Image.At(150, 150), lower | Rgb(0, 0, 5));
  EXPECT_EQ(f.PicTitle1.Image.At(50, 150), 0u);
  EXPECT_EQ(f.PicTitle1.Image.At(350, 250), 0u);

  // Television: white noise everywhere, a screen mask, a set drawn on black around it.
  f.PicTitle1.Image.Fill(0);
  f.PicNoise.Image = Surface(100, 75, 0x00FFFFFF);
  f.PicTv[0].Image = mask;
  f.PicTv[1].Image = black;
  w.vision.NoiseMute = 0;
  w.random.script.clear();
  w.vision.PaintTv();
  const Surface& c = f.PicTitle1.Image;
  int inside = 0;
  for (int y = 0; y < kCanvasHeight; ++y)
    for (int x = 0; x < kCanvasWidth; ++x) {
      const bool screen = x >= 102 && x < 300 && y >= 102 && y < 200;
      if (c.At(x, y) != 0) {
        EXPECT_TRUE(x >= 100 && x < 302 && y >= 100 && y < 202) << x << "," << y;
        inside += screen;
      }
    }
  EXPECT_GT(inside, 0);  // some noise shows through the screen
}

TEST(Compositor, AFrameDrawsTheBackgroundAndEachDifferentLayerOnceThenShowsIt) {
  struct Case {
    int16_t lower, upper;
    Seq expected;
  };
  const Case cases[] = {
      {kLayerFace,
       kLayerFace,
       {"black=", "face|", "hair0|", "hair1|", "hair2|", "eye0|", "pupil|"}},
      {kLayerWire, kLayerWire, {"black=", "wire|"}},
      {kLayerNothing, kLayerNothing, {"black="}},
      {kLayerNothing, kLayerViews, {"black=", "view0|", "view2|", "view1&"}},
      {kLayerViews,
       kLayerFace,
       {"black=", "view0|", "view2|", "view1&", "face|", "hair0|", "hair1|", "hair2|", "eye0|",
        "pupil|"}},
      {kLayerBigEye, 9, {"black=", "big_eye|", "big_pupil|"}},  // outside 0..5: nothing
  };
  for (const Case& c : cases) {
    FrameWorld w;
    w.vision.LayerState = {c.lower, c.upper};
    // Every value 0.3: no blink, view 2, and no roll of the transitions hits.
    w.random.script.assign(40, 0.3f);
    const int framesBefore = w.desktop.frames;
    DrawVision(w.vision, w.app.form);
    EXPECT_EQ(w.Sequence(), c.expected) << c.lower << "," << c.upper;
    EXPECT_EQ(w.desktop.frames, framesBefore + 1);
    EXPECT_EQ(w.vision.LayerState, (std::array<int16_t, 2>{c.lower, c.upper}));
  }
}

TEST(Compositor, TheRollsAfterAFrameDecideTheLayersAndTheNoiseSwitch) {
  constexpr int16_t kNone = kLayerNothing;
  struct Case {
    const char* what;
    std::deque<float> rolls;  // d1 [d2 [d3]] d4 [d5] d6 [d7]
    std::array<int16_t, 2> layers;
    uint8_t noiseMuteBefore, noiseMuteAfter;
  };
  const Case cases[] = {
      {"no roll hits", {0.02f, 0.005f, 0.05f}, {kNone, kNone}, 0, 0},
      {"both jump to the face", {0.019f, 0.5f, 0.5f, 0.5f}, {kLayerFace, kLayerFace}, 0, 0},
      {"both jump: 5.7 rounds to 6", {0.0f, 0.4999f, 0.95f, 0.5f, 0.5f}, {kNone, kNone}, 0, 0},
      {"both jump: 1.5 rounds to 2",
       {0.0f, 0.0f, 0.25f, 0.5f, 0.5f},
       {kLayerViews, kLayerViews},
       0,
       0},
      {"the upper layer alone: 3.6 rounds to 4",
       {0.5f, 0.004f, 0.6f, 0.5f},
       {kNone, kLayerTv},
       0,
       0},
      {"both in one frame: the upper keeps the second, 4.5 to 4",
       {0.0f, 0.9f, 0.0f, 0.75f, 0.5f},
       {kLayerFace, kLayerTv},
       0,
       0},
      {"noise switched off", {0.5f, 0.5f, 0.049f, 0.5f}, {kNone, kNone}, 0, 1},
      {"noise switched on", {0.5f, 0.5f, 0.0f, 0.4999f}, {kNone, kNone}, 1, 0},
  };
  for (const Case& c : cases) {
    FrameWorld w;
    w.vision.LayerState = {kNone, kNone};  // the frame itself draws no layer
    w.vision.NoiseMute = c.noiseMuteBefore;
    w.random.script = {kMiss, kMiss};  // the background
    w.random.script.insert(w.random.script.end(), c.rolls.begin(), c.rolls.end());
    w.clock.dateTime = "2026/12/07 6:38:00";  // second 0, as at start: the clock writes nothing
    DrawVision(w.vision, w.app.form);
    EXPECT_EQ(w.vision.LayerState, c.layers) << c.what;
    EXPECT_EQ(w.vision.NoiseMute, c.noiseMuteAfter) << c.what;
    EXPECT_EQ(w.random.draws, static_cast<int>(2 + c.rolls.size())) << c.what;
  }
}

TEST(EyeBlink, SlowBlinkWithALongHoldThenAQuickBlink) {
  VisionWorld w;
  // Each call lists its decisions; the jitter of every eye blit is drawn as 0.
  auto call = [&w](std::deque<float> decisions, size_t eyeBlits) {
    w.blits.clear();
    w.random.draws = 0;
    std::deque<float> script;
    // When idle the start test and the kind come before the blits; when shut the hold comes
    // after the blit of frame 4.
    const size_t before = w.vision.EyeStep == 0 ? decisions.size() : 0;
    for (size_t i = 0; i < before; ++i) script.push_back(decisions[i]);
    for (size_t i = 0; i < eyeBlits * 2; ++i) script.push_back(0.0f);
    for (size_t i = before; i < decisions.size(); ++i) script.push_back(decisions[i]);
    w.random.script = script;
    w.vision.AnimateEyes();
    EXPECT_TRUE(w.random.script.empty());
    return std::make_pair(w.Sequence(), w.vision.EyeStep);
  };
  using Step = std::pair<Seq, int16_t>;
  const Seq open = {"eye0|", "pupil|"};

  EXPECT_EQ(call({0.5f}, 2), (Step{open, 0}));                  // idle: no blink starts
  EXPECT_EQ(call({0.039f, 0.4999f}, 1), (Step{{"eye1|"}, 2}));  // starts slow: frame 1 at once
  EXPECT_EQ(call({}, 1), (Step{{"eye2|"}, 3}));
  EXPECT_EQ(call({}, 1), (Step{{"eye3|"}, 4}));
  EXPECT_EQ(call({0.0f}, 1), (Step{{"eye4|"}, 4}));   // held: 0 + 3 + 1
  EXPECT_EQ(call({0.5f}, 1), (Step{{"eye4|"}, 6}));   // held: 2 + 3 + 1
  EXPECT_EQ(call({0.74f}, 1), (Step{{"eye4|"}, 6}));  // held: 2 + 3 + 1
  EXPECT_EQ(call({0.75f}, 1), (Step{{"eye4|"}, 7}));  // opens: 3 + 3 + 1
  EXPECT_EQ(call({}, 1), (Step{{"eye3|"}, 8}));
  EXPECT_EQ(call({}, 1), (Step{{"eye2|"}, 9}));
  EXPECT_EQ(call({}, 1), (Step{{"eye1|"}, 10}));
  EXPECT_EQ(call({}, 2), (Step{open, 0}));  // the end of a blink makes no start test
  EXPECT_EQ(call({0.0f, 0.5f}, 1), (Step{{"eye2|"}, 102}));  // a quick blink at once
  EXPECT_EQ(call({}, 1), (Step{{"eye4|"}, 103}));
  EXPECT_EQ(call({}, 1), (Step{{"eye2|"}, 104}));
  EXPECT_EQ(call({}, 2), (Step{open, 0}));
}

TEST(EyeBlink, ThePupilHasItsOwnJitterAndTheBlinkWaitsWhileTheFaceIsNotPainted) {
  FrameWorld w;
  w.random.script = {0.9f, 0.0f, 0.0f, 0.9f, 0.9f};  // no blink; eye at (60, 140), pupil (61, 141)
  w.vision.AnimateEyes();
  ASSERT_EQ(w.blits.size(), 2u);
  EXPECT_EQ(std::make_pair(w.blits[0].x, w.blits[0].y), std::make_pair(60, 140));
  EXPECT_EQ(std::make_pair(w.blits[1].x, w.blits[1].y), std::make_pair(61, 141));

  // A blink cut off by a change of layer goes on where it stopped.
  w.vision.EyeStep = 8;
  w.vision.LayerState = {kLayerWire, kLayerWire};
  w.random.script.assign(10, 0.5f);
  DrawVision(w.vision, w.app.form);
  EXPECT_EQ(w.vision.EyeStep, 8);
}

}  // namespace
}  // namespace ombrevale
