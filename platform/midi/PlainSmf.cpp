#include "platform/midi/PlainSmf.h"

#include <algorithm>

namespace ombrevale {

namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v >> 16);
  PutU16(out, v & 0xFFFF);
}

// A variable-length quantity in as few bytes as it takes. The reader's deltas and lengths fit in
// its four bytes.
void PutVlq(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t groups[4];
  int n = 0;
  do {
    groups[n++] = v & 0x7F;
    v >>= 7;
  } while (v != 0 && n < 4);
  while (n-- > 0) out.push_back(static_cast<uint8_t>(groups[n] | (n > 0 ? 0x80 : 0)));
}

// Writes the tracks as the reader hears them; the header is put before them at the end, once the
// reader has accepted the file.
class PlainWriter final : public SmfListener {
 public:
  explicit PlainWriter(size_t sizeHint) { tracks_.reserve(sizeHint + sizeHint / 2); }

  void Timing(const TempoMap& start) override {
    ticksPerQuarter_ = start.ticksPerQuarter;
    startTempo_ = start.changes.front().usPerQuarter;
  }

  void TrackBegins() override {
    tracks_.insert(tracks_.end(), {'M', 'T', 'r', 'k', 0, 0, 0, 0});
    trackStart_ = tracks_.size();
    tick_ = 0;
    if (trackCount_++ == 0 && startTempo_ != kSmfDefaultUsPerQuarter) {
      const uint32_t us = startTempo_;
      PutVlq(tracks_, 0);
      tracks_.insert(tracks_.end(), {0xFF, 0x51, 0x03, static_cast<uint8_t>(us >> 16),
                                     static_cast<uint8_t>(us >> 8), static_cast<uint8_t>(us)});
    }
  }

  void Event(const SmfEvent& event) override {
    PutDelta(event.tick);
    if (event.status == 0xF7) {
      // An escape carries bytes to be sent as they are, which FluidSynth cannot read (it refuses
      // the whole file): its place is kept by an empty text event.
      tracks_.insert(tracks_.end(), {0xFF, 0x01, 0x00});
      return;
    }
    tracks_.push_back(event.status);
    if (event.status == 0xFF) tracks_.push_back(event.metaType);
    if (event.status >= 0xF0) PutVlq(tracks_, static_cast<uint32_t>(event.data.size()));
    tracks_.insert(tracks_.end(), event.data.begin(), event.data.end());
  }

  void TrackEnds(uint64_t tick) override {
    PutDelta(tick);
    tracks_.insert(tracks_.end(), {0xFF, 0x2F, 0x00});
    const size_t length = tracks_.size() - trackStart_;
    for (int i = 0; i < 4; ++i)
      tracks_[trackStart_ - 4 + i] = static_cast<uint8_t>(length >> (24 - 8 * i));
  }

  std::vector<uint8_t> File(uint16_t format) const {
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
    file.reserve(14 + tracks_.size());
    PutU32(file, 6);
    PutU16(file, format == 0 && trackCount_ == 1 ? 0 : 1);
    PutU16(file, trackCount_);
    PutU16(file, ticksPerQuarter_);
    file.insert(file.end(), tracks_.begin(), tracks_.end());
    return file;
  }

 private:
  // The delta from the track's last event: a delta of the file's own, as every event the reader
  // tells of is written.
  void PutDelta(uint64_t tick) {
    PutVlq(tracks_, static_cast<uint32_t>(tick - tick_));
    tick_ = tick;
  }

  uint16_t ticksPerQuarter_ = 0;
  uint32_t startTempo_ = kSmfDefaultUsPerQuarter;
  std::vector<uint8_t> tracks_;
  size_t trackStart_ = 0;
  uint32_t trackCount_ = 0;
  uint64_t tick_ = 0;
};

}  // namespace

PlainSmf WritePlainSmf(std::span<const uint8_t> bytes) {
  PlainWriter writer(std::min(bytes.size(), kSmfMaxFileBytes));  // a larger file is refused
  PlainSmf plain;
  plain.info = ReadSmf(bytes, &writer);
  if (plain.info.ok) plain.bytes = writer.File(plain.info.format);
  return plain;
}

}  // namespace ombrevale
