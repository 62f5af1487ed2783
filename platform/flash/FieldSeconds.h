#pragma once

// The transitions each place of the field made in the second up to now, on the clock: the frames
// come with their time, so a vision that stands still does not squeeze a second, and frames
// shown faster or slower than the vision draws them count as long as they were shown.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ombrevale {

class FieldSeconds {
 public:
  // How many frames with a transition somewhere are remembered: a field that makes one in each of
  // them makes this many in a second, however many more there were.
  static constexpr int kRemembered = 64;

  // The transitions each place made, in the second up to a time, and the place that made the
  // most (the first such, row by row; -1 when none made any).
  struct Busiest {
    int transitions = 0;
    int place = -1;
  };

  explicit FieldSeconds(int places) : marks_(static_cast<size_t>(places), 0) {}

  // Notes the frame shown at `nowMs` (milliseconds on a clock that does not wrap): the places
  // whose `hits` hold `bit` made a transition in it, `found` of them. A frame where none did
  // leaves the record as it was.
  void Record(const uint8_t* hits, uint8_t bit, int found, int64_t nowMs);

  // Which of the remembered frames lie in the second up to `nowMs` (no earlier than every frame
  // noted): what Count takes.
  uint64_t Recent(int64_t nowMs) const;
  // The transitions of `place` in those frames.
  int Count(int place, uint64_t recent) const {
    return std::popcount(marks_[static_cast<size_t>(place)] & recent);
  }
  Busiest Most(int64_t nowMs) const;

  // The places are now `places` others (the field has another size): each is taken to have made
  // the transitions of the busiest before, so that the second goes on being counted at its worst.
  void Replace(int places, int64_t nowMs);

 private:
  // Per place: bit k set when it made a transition in the kth newest frame noted.
  std::vector<uint64_t> marks_;
  // The times of the frames noted, the newest first; how many there are.
  std::array<int64_t, kRemembered> times_{};
  int noted_ = 0;
};

}  // namespace ombrevale
