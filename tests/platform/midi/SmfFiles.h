#pragma once
// Standard MIDI Files written by the tests, event by event, exactly as given: running status,
// odd chunks and all.

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace ombrevale {

using Bytes = std::vector<uint8_t>;

inline void PutVlq(Bytes& out, uint32_t v) {
  uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = v & 0x7F;
    v >>= 7;
  } while (v != 0);
  while (n-- > 0) out.push_back(static_cast<uint8_t>(groups[n] | (n > 0 ? 0x80 : 0)));
}
inline void Put32(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// A track written event by event: a delta time, then the event's bytes as given.
struct Track {
  Bytes body;
  Track& At(uint32_t delta, std::initializer_list<uint8_t> event) {
    PutVlq(body, delta);
    body.insert(body.end(), event);
    return *this;
  }
  Track& Tempo(uint32_t delta, uint32_t usPerQuarter) {
    return At(delta, {0xFF, 0x51, 0x03, static_cast<uint8_t>(usPerQuarter >> 16),
                      static_cast<uint8_t>(usPerQuarter >> 8), static_cast<uint8_t>(usPerQuarter)});
  }
  Track& End(uint32_t delta) { return At(delta, {0xFF, 0x2F, 0x00}); }
};

inline Bytes Chunk(const char* id, const Bytes& body) {
  Bytes out(id, id + 4);
  Put32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

inline Bytes File(uint16_t format, uint16_t division, const std::vector<Track>& tracks) {
  const Bytes header = {0,
                        static_cast<uint8_t>(format),
                        0,
                        static_cast<uint8_t>(tracks.size()),
                        static_cast<uint8_t>(division >> 8),
                        static_cast<uint8_t>(division)};
  Bytes out = Chunk("MThd", header);
  for (const Track& t : tracks) {
    const Bytes c = Chunk("MTrk", t.body);
    out.insert(out.end(), c.begin(), c.end());
  }
  return out;
}

}  // namespace ombrevale
