#include "app/ShownCanvas.h"

#include "timing/TimerSlots.h"

namespace ombrevale {
namespace {

// The limiter counts seconds on the vision's own time: a frame every interval of its slot, the
// quickest the slot ever fires. A machine that draws more slowly shows the same frames over a
// longer time, so counting them this way never lets more flashes through than a second of the
// screen holds; and every desktop limits the same frames the same way as the renderer does,
// however its timers ran.
constexpr uint32_t kFrameMs = SlotOf(SlotHandler::DrawVision).interval;

}  // namespace

ShownCanvas::ShownCanvas(int width, int height) : limiter_(width, height), shown_(width, height) {}

const Surface& ShownCanvas::Take(const Surface& canvas, double shownScale) {
  const uint32_t visionMs = static_cast<uint32_t>(frames_ * kFrameMs);
  ++frames_;
  if (!limitOn_) {
    last_ = &canvas;
    return canvas;
  }
  shown_ = canvas;
  limiter_.SetShownScale(shownScale);
  if (limiter_.Limit(shown_, visionMs)) ++changed_;
  last_ = &shown_;
  return shown_;
}

}  // namespace ombrevale
