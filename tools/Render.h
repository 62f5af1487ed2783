#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Clock.h"
#include "platform/Random.h"
#include "platform/Surface.h"
#include "platform/calendar/FixedStart.h"
#include "timing/TimerSlots.h"

namespace ombrevale {

// What to render: the random seed, how many frames, and the date and time of the first one; and
// how the frames are seen: each passes through the flash limit, as in the program, at the size a
// canvas pixel is seen at (reference pixels, as Desktop::ShownScale says it), unless the limit is
// off. Without a size, at the one the window the vision runs in is shown at.
struct RenderOptions {
  uint32_t seed = 1;
  int frames = 50;
  DateTimeFields start{2026, 12, 7, 6, 38, 40};
  std::optional<double> shownScale;
  bool flashLimit = true;
};

// The frames are as far apart as the window draws them: the interval of the vision's slot.
inline constexpr int kRenderStepMs = SlotOf(SlotHandler::DrawVision).interval;

class SdlDesktop;
class ShownCanvas;

// The title vision in a real window, run as the program runs it but from the options' seed and
// start time, on a clock of its own: the same options always draw the same frames. Needs SDL's
// video started; the window is shown at once.
class SeededTitle {
 public:
  explicit SeededTitle(const RenderOptions& options);
  ~SeededTitle();
  SeededTitle(const SeededTitle&) = delete;
  SeededTitle& operator=(const SeededTitle&) = delete;

  // Draws and shows frame `index`, with the clock at its time (kRenderStepMs a frame), then
  // writes the clock's caption as slot 2 does.
  void DrawFrame(int index);
  SdlDesktop& Desktop();
  // The frames as they were shown, through the flash limit.
  const ShownCanvas& Shown() const;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// Runs the title vision without a screen, as the window runs it: the pictures of dat/ (relative
// to the working directory), the compositor, the eyes, the clock and its label drawn with the
// window's own fonts. Hands each frame, the 400 x 300 canvas as the window showed it, to `frame`
// with its index; the frames are seen at the options' size, or at the natural size where they give
// none. The same options always give the same frames. Between frames it stops, throwing StopAsked,
// once SIGINT or SIGTERM came (tools/StopSignals.h). Returns, frame by frame, whether the flash
// limit changed it.
std::vector<bool> RenderFrames(const RenderOptions& options,
                               const std::function<void(int index, const Surface& frame)>& frame);

}  // namespace ombrevale
