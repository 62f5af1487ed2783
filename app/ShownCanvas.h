#pragma once

// The vision's frames as the player sees them: each frame of the canvas is copied and passed
// through the flash limiter, at the size the desktop shows it now, before it is shown, so that no
// second of the vision flashes past the safe limit whatever size it is seen at. The copy is what is
// shown; the vision's own canvas, which the next frame is drawn over, stays as the vision drew it.
// A player may turn the limit off and see the vision as designed.

#include <cstdint>
#include <string_view>

#include "platform/Surface.h"
#include "platform/flash/FlashLimiter.h"

namespace ombrevale {

// What the program says, once, when the player turned the limit off.
inline constexpr std::string_view kFlashLimitOff =
    "the flash limit is off: the vision may flash past the safe limit";

class ShownCanvas {
 public:
  // For a canvas of `width` x `height` pixels.
  ShownCanvas(int width, int height);

  // Shows every frame as the vision drew it from now on.
  void TurnLimitOff() { limitOn_ = false; }
  bool LimitOn() const { return limitOn_; }

  // The vision's next frame, `canvas`, about to be shown at `shownScale` reference pixels to a
  // canvas pixel (Desktop::ShownScale): what to show. With the limit off, the canvas itself.
  const Surface& Take(const Surface& canvas, double shownScale);
  // What the last frame taken showed, to show it again as it was.
  const Surface& Last() const { return *last_; }

  // How many frames were taken, and how many of them the limiter changed.
  uint64_t Frames() const { return frames_; }
  uint64_t FramesChanged() const { return changed_; }

 private:
  FlashLimiter limiter_;
  Surface shown_;
  const Surface* last_ = &shown_;
  bool limitOn_ = true;
  uint64_t frames_ = 0, changed_ = 0;
};

}  // namespace ombrevale
