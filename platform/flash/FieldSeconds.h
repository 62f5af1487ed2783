#pragma once

// The transitions each place of the field made in the second up to now, on the clock: the frames
// come with their time, so a vision that stands still does not squeeze a second, and frames
// shown faster or slower than the vision draws them count as long as they were shown.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ombrevale {

class FieldSeconds {
 public:
  // How many frames with a transition somewhere are remembered: a field that makes one in each of
  // them makes this many in a second, however many more there were.
  static constexpr int kRemembered = 64;

  // The place that made the most transitions in the second (the first such, row by row; -1 when
  // none made any), and how many.
  struct Busiest {
    int transitions = 0;
    int place = -1;
  };

  explicit FieldSeconds(int places);

  // Moves the second on to end at `nowMs` (milliseconds on a clock that does not wrap, never
  // earlier than before): the frames noted a second or more before it leave the count.
  void Advance(int64_t nowMs);
  // Notes the frame shown at `nowMs`, where the places whose `hits` are 1 made a transition,
  // `found` of them. A frame where none did leaves the record as it was.
  void Record(const uint8_t* hits, int found, int64_t nowMs);

  // The transitions of `place` in the second up to the time advanced to; all places'.
  int Count(int place) const { return counts_[static_cast<size_t>(place)]; }
  const uint8_t* Counts() const { return counts_.data(); }
  Busiest Most() const;

  // The places are now `places` others (the field has another size): each is taken to have made
  // the transitions of the busiest before, so that the second goes on being counted at its worst.
  void Replace(int places);

 private:
  // The noted frame `k` (0 the newest) leaves the count.
  void Forget(int k);
  // A new frame comes in, where the places whose `hits` are 1 made a transition.
  void Note(const uint8_t* hits);

  // Per place: bit k set when it made a transition in the kth newest frame noted; how many of
  // the frames in the second.
  std::vector<uint64_t> marks_;
  std::vector<uint8_t> counts_;
  // The times of the frames noted, the newest first; how many of them lie in the second.
  std::array<int64_t, kRemembered> times_{};
  int live_ = 0;
};

}  // namespace ombrevale
