#pragma once

// Where a replay stands as it plays: what the program is told next, the inputs it was given last,
// and whether every frame it showed so far was the one recorded. The replay's services ask it
// (app/ReplayedServices.h); the first thing that is not as recorded ends the playing.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/replay/ReplayReader.h"

namespace ombrevale {

// Where and how a session played back went another way than the one recorded.
struct ReplayDivergence {
  uint64_t frame = 0;  // the frame that differs, or the frame that was to come (from 0)
  std::string what;    // what differed, as the end of a sentence
  std::optional<uint64_t> expected, shown;  // the hashes, for a frame that differs
  std::vector<std::string> lastInputs;      // the last inputs before it, oldest first
};

class ReplayFeed {
 public:
  explicit ReplayFeed(const Replay& replay);

  // What the program is told: the clock, the date-time text, the shown scale, the seed for the
  // clock reading it asks with, the milliseconds the box stays open.
  uint32_t Reading();
  std::string Text();
  double Scale();
  uint32_t Seed(uint32_t asked);
  uint32_t BoxMs();
  // A picture loaded (no hash: found missing): it must be the one the session had.
  void Picture(const std::string& path, std::optional<uint64_t> hash);
  // A frame shown: checked against its hash, then handed to `onFrame` with its number.
  void Frame(const Scene& scene);
  // A pass of the loop begins: the pass's events go to `events`, its shapes to `shaped` (when
  // given). Past the replay's end, or once the session went another way, the window is closed.
  void Pass(WindowEvents& events, Desktop* shaped);
  // Ends the playing before its end (the viewer closed the window).
  void Stop() { stopped_ = true; }
  // Ends the playing once frame `frame` is shown.
  void StopAfter(uint64_t frame) { stopAfter_ = frame; }

  // The first clock reading of the next pass; nothing past the last.
  std::optional<uint32_t> NextPassReading() const;
  // Whether the frames shown now come before the first checked one: those are played as fast as
  // the processor allows, and not shown.
  bool FastForwarding() const { return framesShown_ < firstChecked_; }

  uint64_t FramesShown() const { return framesShown_; }
  uint64_t FramesChecked() const { return framesChecked_; }
  bool Stopped() const { return stopped_; }
  const std::optional<ReplayDivergence>& Divergence() const { return divergence_; }
  const ReplayHeader& Header() const { return header_; }

  std::function<void(uint64_t frame, const Scene& scene)> onFrame;

 private:
  bool HeadIs(ReplayItem::Kind kind) const { return head_ && head_->kind == kind; }
  ReplayItem Take();
  void Diverge(const std::string& what);
  // The program asked for `asked` where the replay holds something else.
  void Unasked(const std::string& asked);
  void Deliver(ReplayItem item, WindowEvents& events, Desktop* shaped);
  void NoteInput(const std::string& input);

  ReplayHeader header_;
  ReplayCursor cursor_;
  std::optional<ReplayItem> head_;
  std::vector<uint32_t> passReadings_;  // the first reading of each pass
  uint64_t firstChecked_ = 0;
  uint64_t passes_ = 0, framesShown_ = 0, framesChecked_ = 0;
  size_t pictures_ = 0;
  uint32_t reading_ = 0;
  std::string text_;
  double scale_ = 1;
  bool stopped_ = false;
  std::optional<uint64_t> stopAfter_;
  std::optional<ReplayDivergence> divergence_;
  std::deque<std::string> lastInputs_;
};

// An input as a person reads it: "Return", "Shift+Ctrl+R", "the menu's entry 1".
std::string DescribeInput(const ReplayItem& item);

}  // namespace ombrevale
