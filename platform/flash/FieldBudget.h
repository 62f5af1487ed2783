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
  static constexpr int kSpacingMs = 500;

  explicit FieldBudget(int places) : owed_(static_cast<size_t>(places), 0) {}

  // Time passes on to `nowMs` (milliseconds on a clock that does not wrap): what each place owes
  // is paid off as it goes.
  void Pass(int64_t nowMs);
  // Marks in refused[place] (1, else 0) the places whose `hits` are 1 but which may not make a
  // transition now: their budget is spent, or they made `most` or more in the second already
  // (`counts`). Returns how many.
  int Refuse(const uint8_t* hits, const uint8_t* counts, int most, uint8_t* refused) const;
  // The places whose `hits` are 1 made a transition now: they spend, and so do the places within
  // `reachAcross` and `reachDown` of one (the places are `across` to a row): a field that mostly
  // overlaps one that flashed has been seen to flash too, and may not flash in its turn.
  void Spend(const uint8_t* hits, int across, int reachAcross, int reachDown);
  // The places are now `places` others: each is taken to owe as much as the one that owed most.
  void Replace(int places);

 private:
  // Spends for each place of row `y` that rows_ says has a transition within reach.
  void SpendRow(int y, int across);

  // Per place: how many milliseconds it owes, kSpacingMs per transition, paid off with time; a
  // place may make one while it owes no more than (kBurst - 1) x kSpacingMs.
  std::vector<uint16_t> owed_;
  // Per place: whether a transition lies within reach; per place of a row, how many rows of the
  // reach hold one.
  std::vector<uint8_t> near_;
  std::vector<int16_t> rows_;
  int64_t lastMs_ = 0;
  bool started_ = false;
};

}  // namespace ombrevale
