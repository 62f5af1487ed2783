#include "app/DrawVision.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/App.h"
#include "backends/headless/Headless.h"
#include "backends/headless/RecordingMedia.h"
#include "backends/headless/ScreenlessDesktop.h"

namespace ombrevale {
namespace {

// A desktop that notes, for every frame shown, which canvas it showed, how many random values had
// been drawn by then, and what the label said.
class WatchingDesktop final : public ScreenlessDesktop {
 public:
  explicit WatchingDesktop(const ScriptedRandom& random) : random_(random) {}

  void Present(const Scene& scene) override {
    canvases.push_back(scene.canvas);
    draws.push_back(random_.draws);
    labels.push_back(scene.labels.empty() ? "" : scene.labels[0].label->Caption);
  }

  std::vector<const Surface*> canvases;
  std::vector<int> draws;
  std::vector<std::string> labels;

 private:
  const ScriptedRandom& random_;
};

TEST(DrawVision, ShowsTheWindowsCanvasOnceItsLayersArePaintedThenRollsThenWritesTheClock) {
  FakeClock clock;
  ScriptedRandom random;
  WatchingDesktop desktop(random);
  RecordingMedia media;
  MemoryPictureReader pictures;
  Platform platform{clock, random, desktop, media, pictures};
  App app(platform);

  app.vision.LayerState = {kLayerWire, kLayerWire};
  // The background and the wire, two draws each; then the rolls: both layers jump to the face,
  // the upper layer and the noise switch stay.
  random.script = {0.5f, 0.5f, 0.5f, 0.5f, 0.0f, 0.9f, 0.5f, 0.5f};
  clock.dateTime = "2026/12/07 6:38:05";
  DrawVision(app.vision, app.form);

  // What the player sees of the canvas: the frame as shown, through the flash limit.
  EXPECT_EQ(desktop.canvases, std::vector<const Surface*>{&app.form.Shown().Last()});
  EXPECT_EQ(app.form.Shown().Frames(), 1u);
  EXPECT_EQ(desktop.draws, std::vector<int>{4});                 // shown before any roll
  EXPECT_EQ(desktop.labels, std::vector<std::string>{"Burst"});  // and before the clock
  EXPECT_EQ(random.draws, 8);
  EXPECT_EQ(app.vision.LayerState, (std::array<int16_t, 2>{kLayerFace, kLayerFace}));
  EXPECT_EQ(app.form.LabMain1.Caption, "2028/12/07 6:38:05");

  // The next frame shows the new second.
  DrawVision(app.vision, app.form);
  EXPECT_EQ(desktop.labels.back(), "2028/12/07 6:38:05");
}

}  // namespace
}  // namespace ombrevale
