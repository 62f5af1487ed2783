#pragma once

// The tempo map of a piece: how its ticks turn into time. Every driver that plays a piece, or
// seeks in one, counts time by the map the Standard MIDI File reader gives.

#include <cstdint>
#include <vector>

namespace ombrevale {

// 120 beats a minute: the tempo of a piece until its first tempo change.
inline constexpr uint32_t kSmfDefaultUsPerQuarter = 500000;

// A tempo in force from a tick on.
struct TempoChange {
  uint64_t tick = 0;
  uint32_t usPerQuarter = kSmfDefaultUsPerQuarter;
};

// A straight stretch of the map, as the page's synthesiser seeks by it: from `ms` milliseconds
// on, tick `tick` + (time - `ms`) x `ticksPerMs`.
struct TempoSpan {
  double ms = 0;
  uint64_t tick = 0;
  double ticksPerMs = 0;
};

struct TempoMap {
  uint16_t ticksPerQuarter = 0;
  // The tempo from tick 0, then each change, in the order of their ticks once settled.
  std::vector<TempoChange> changes;

  // A map of `ticksPerQuarter` ticks a quarter at `usPerQuarter` from tick 0, changes to follow.
  static TempoMap Starting(uint16_t ticksPerQuarter, uint32_t usPerQuarter);
  // Puts the changes gathered in the order of their ticks; of changes at the same tick, the one
  // given last holds, as a synthesiser that plays them in turn leaves it. A change to the tempo
  // in force is left out.
  void Settle();

  // The time of a tick, in seconds.
  double SecondsAt(uint64_t tick) const;
  // The map as straight stretches, one from each change on.
  std::vector<TempoSpan> Spans() const;
  // The tick the piece has reached `ms` milliseconds into it (rounded down).
  uint64_t TickAt(double ms) const;
};

}  // namespace ombrevale
