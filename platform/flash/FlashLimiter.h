#pragma once

// Keeps the vision safe to look at whatever size it is shown at: every frame passes through it
// before it is shown, and one that would make a second flash more than the safe limit is changed,
// as little as it needs, so that it does not.
//
// It counts the frames it passes as FlashAnalysis counts them, at the size they are shown. A
// frame whose transitions every field may make is shown untouched. Where a field would make one it
// may not (its second already holds 6 transitions, 3 flashes, or what it may make kept up is
// spent, also by the fields it mostly overlaps: FieldBudget.h), each pixel of that field that
// would make a transition, and of
// the half degree around it whose transitions weigh in it, is held: blended in linear light from
// the colour it showed towards the frame's own as far as it can go without a transition
// (FlashHold.h), so that the picture still moves where it flashes, by less. The frame is then
// looked at again, with the count's own memory, as holding some pixels can leave their
// neighbours' changes uncancelled, until every field that makes a transition may. A held pixel is
// let go as soon as its field may make the transition: the frame's own colour is then shown, one
// transition, counted as any other. Nothing is replaced by black or frozen for longer than the
// budget takes to be earned again.

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/Surface.h"
#include "platform/flash/FieldBudget.h"
#include "platform/flash/FlashAnalysis.h"

namespace ombrevale {

class FlashLimiter {
 public:
  // What the limiter has done since it was made.
  struct Figures {
    int64_t frames = 0;
    int64_t framesChanged = 0;
    int64_t pixelsChanged = 0;
    // The changed pixels' moves of relative luminance from the frame's own, added, in units of
    // 1 / 65535 (FlashLight.h).
    int64_t luminanceMoved = 0;
  };

  // A field may make at most this many transitions in any second: 3 flashes.
  static constexpr int kMostPerSecond = 6;

  // For frames of `width` x `height` pixels.
  FlashLimiter(int width, int height);

  // The frames are shown at `scale` reference pixels to a pixel (Desktop::ShownScale) from now on.
  void SetShownScale(double scale);

  // Passes the frame about to be shown at `nowMs` on the millisecond clock: leaves it untouched
  // when showing it keeps every second within the limit, else changes it as little as needed.
  // Returns whether it changed the frame.
  bool Limit(Surface& frame, uint32_t nowMs);

  const Figures& Done() const { return figures_; }
  // The second up to the frame passed last, as shown.
  const FlashWindow& LastSecond() const { return second_; }
  // How the frames are seen: the field, the pixels a transition needs.
  const FlashAnalysis& Count() const { return analysis_; }

 private:
  // Marks in held_ (per pixel, bit 1 << kind) the pixels whose transitions of each kind fall in
  // a field that may not make one; returns whether there are any.
  bool MarkRefused();
  // Marks in marks_ the reach of the refused places `first` to `last` of place row `py`.
  void MarkReach(int first, int last, int py);
  // Sets `bit` in held_ where marks_ says a refused field reaches, and clears marks_.
  void HeldWhereMarked(uint8_t bit);
  // Holds each marked pixel that would make a transition of its kind.
  void Hold(Surface& frame);
  // Lists in rowHeld_ (rowHeldCount_ of them) the pixels of the row from pixel `start` to be held;
  // whether there are any.
  bool HeldInRow(size_t start);
  // Spends the budget of the places whose field made a transition.
  void Spend();

  int width_, height_;
  FlashAnalysis analysis_;
  FieldBudget budgets_[FlashAnalysis::kKinds];
  FlashWindow second_;
  Figures figures_;
  // Per place: 1 where its field may not make the transition it would.
  std::vector<uint8_t> refused_;
  // Per pixel: bit 1 << kind when it lies in the reach of a refused field of that kind; the rows
  // where any does (first, last).
  std::vector<uint8_t> held_;
  std::pair<int, int> heldRows_{0, -1};
  // The pixels of a row being held (as a mask and listed), and the luminance each would have
  // shown.
  std::vector<uint8_t> rowNeed_;
  std::vector<int> rowHeld_;
  size_t rowHeldCount_ = 0;
  std::vector<int> rowWanted_;
  // Per pixel + 1 in each direction: the difference table the refused fields are marked in, the
  // rows it was marked in (first, last), and the sums down its columns.
  std::vector<int32_t> marks_;
  std::pair<int, int> marked_{1 << 30, -1};
  int markedLeft_ = 1 << 30, markedRight_ = 0;  // and the columns (from, up to)
  std::vector<int32_t> columns_;
  // Whether the frame passing now was changed.
  bool changed_ = false;
};

}  // namespace ombrevale
