#include "platform/midi/TempoMap.h"

#include <algorithm>
#include <cmath>

namespace ombrevale {

TempoMap TempoMap::Starting(uint16_t ticksPerQuarter, uint32_t usPerQuarter) {
  TempoMap map;
  map.ticksPerQuarter = ticksPerQuarter;
  map.changes.push_back({0, usPerQuarter});
  return map;
}

void TempoMap::Settle() {
  std::stable_sort(changes.begin(), changes.end(),
                   [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
  // Of a run of changes at one tick, the last stays.
  auto kept = changes.begin();
  for (auto it = changes.begin(); it != changes.end(); ++it) {
    if (kept != changes.begin() && std::prev(kept)->tick == it->tick) {
      *std::prev(kept) = *it;
    } else {
      *kept++ = *it;
    }
  }
  changes.erase(kept, changes.end());
  // A change to the tempo in force changes nothing.
  changes.erase(std::unique(changes.begin(), changes.end(),
                            [](const TempoChange& a, const TempoChange& b) {
                              return a.usPerQuarter == b.usPerQuarter;
                            }),
                changes.end());
}

double TempoMap::SecondsAt(uint64_t tick) const {
  if (ticksPerQuarter == 0) return 0;
  uint64_t from = 0;
  double usPerQuarter = kSmfDefaultUsPerQuarter;
  double microseconds = 0;
  for (const TempoChange& c : changes) {
    if (c.tick >= tick) break;
    microseconds += static_cast<double>(c.tick - from) * usPerQuarter;
    from = c.tick;
    usPerQuarter = c.usPerQuarter;
  }
  microseconds += static_cast<double>(tick - from) * usPerQuarter;
  return microseconds / (1e6 * ticksPerQuarter);
}

std::vector<TempoSpan> TempoMap::Spans() const {
  std::vector<TempoSpan> spans;
  if (ticksPerQuarter == 0) return spans;
  spans.reserve(changes.size() + 1);
  // A tempo in microseconds a quarter over this is a tick in milliseconds.
  const double tickMsDivisor = 1000.0 * ticksPerQuarter;
  TempoSpan span{0, 0, tickMsDivisor / kSmfDefaultUsPerQuarter};
  double microseconds =
      0;  // the time so far, times ticks a quarter: divided once, as SecondsAt does
  uint32_t usPerQuarter = kSmfDefaultUsPerQuarter;
  for (const TempoChange& c : changes) {
    if (c.tick != span.tick) {
      spans.push_back(span);
      microseconds += static_cast<double>(c.tick - span.tick) * usPerQuarter;
      span.ms = microseconds / tickMsDivisor;
      span.tick = c.tick;
    }
    usPerQuarter = c.usPerQuarter;
    span.ticksPerMs = tickMsDivisor / usPerQuarter;
  }
  spans.push_back(span);
  return spans;
}

uint64_t TempoMap::TickAt(double ms) const {
  const std::vector<TempoSpan> spans = Spans();
  if (spans.empty() || !(ms > 0)) return 0;
  auto after = std::upper_bound(spans.begin(), spans.end(), ms,
                                [](double t, const TempoSpan& s) { return t < s.ms; });
  const TempoSpan& span = *std::prev(after);
  return span.tick + static_cast<uint64_t>(std::floor((ms - span.ms) * span.ticksPerMs));
}

}  // namespace ombrevale
