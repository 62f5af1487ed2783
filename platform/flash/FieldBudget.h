#pragma once

// How many transitions each place of the field may still make: a few at once, then one every so
// often, so that a field kept flashing stays well under the limit of 3 flashes a second instead of
// sitting at it (an analyser that fails 4 to 6 transitions a second kept up for 4 of 5 seconds
// does not fail it either).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ombrevale {

class FieldBudget {
 public:
  // A place that has been still may make kBurst transitions at once; each takes kSpacingMs to be
  // earned again. In any span of T seconds a place makes at most kBurst + T x 1000 / kSpacingMs
  // transitions: kept up, 2 a second (1 flash); in any 5 seconds at most 15, so that no 4 of them
  // can hold 4 each. (Within one second the limit of 6 comes first.)
  static constexpr int kBurst = 5;
  static constexpr int64_t kSpacingMs = 500;

  explicit FieldBudget(int places) : earned_(static_cast<size_t>(places), 0) {}

  // Whether `place` may make a transition at `nowMs` (on a clock that does not wrap).
  bool Allows(int place, int64_t nowMs) const {
    return earned_[static_cast<size_t>(place)] - nowMs <= (kBurst - 1) * kSpacingMs;
  }
  // `place` made a transition at `nowMs`.
  void Spend(int place, int64_t nowMs) {
    int64_t& earned = earned_[static_cast<size_t>(place)];
    earned = (earned > nowMs ? earned : nowMs) + kSpacingMs;
  }
  // The places are now `places` others: each is taken to have spent as much as the one that had
  // spent most.
  void Replace(int places);

 private:
  // Per place: when all it spent is earned again.
  std::vector<int64_t> earned_;
};

}  // namespace ombrevale
