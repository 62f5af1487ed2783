#include "platform/midi/Smf.h"

#include <algorithm>
#include <array>

#include "platform/files/RegularFile.h"

namespace ombrevale {

namespace {

// A cursor over a span that never reads outside it: a read past the end fails and leaves the
// cursor where it was.
class Cursor {
 public:
  explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t Left() const { return bytes_.size() - pos_; }
  bool AtEnd() const { return pos_ == bytes_.size(); }

  bool Byte(uint8_t& out) {
    if (Left() < 1) return false;
    out = bytes_[pos_++];
    return true;
  }
  bool Peek(uint8_t& out) const {
    if (Left() < 1) return false;
    out = bytes_[pos_];
    return true;
  }
  bool U16(uint16_t& out) {
    if (Left() < 2) return false;
    out = static_cast<uint16_t>((bytes_[pos_] << 8) | bytes_[pos_ + 1]);
    pos_ += 2;
    return true;
  }
  bool U32(uint32_t& out) {
    if (Left() < 4) return false;
    out = (uint32_t{bytes_[pos_]} << 24) | (uint32_t{bytes_[pos_ + 1]} << 16) |
          (uint32_t{bytes_[pos_ + 2]} << 8) | uint32_t{bytes_[pos_ + 3]};
    pos_ += 4;
    return true;
  }
  // A variable-length quantity: at most four bytes, seven bits each.
  bool Vlq(uint32_t& out) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      uint8_t b = 0;
      if (!Byte(b)) return false;
      value = (value << 7) | (b & 0x7F);
      if ((b & 0x80) == 0) {
        out = value;
        return true;
      }
    }
    return false;
  }
  bool Skip(size_t n) {
    if (Left() < n) return false;
    pos_ += n;
    return true;
  }
  bool Take(size_t n, std::span<const uint8_t>& out) {
    if (Left() < n) return false;
    out = bytes_.subspan(pos_, n);
    pos_ += n;
    return true;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

SmfInfo Fail(std::string_view why) {
  SmfInfo info;
  info.error = why;
  return info;
}

// The timing of a header's division, as a tempo map's start: ticks a quarter note as they are, or
// SMPTE frames turned into ticks a quarter note of one second (1.001 s at 29.97 frames, whose
// frames of a nominal second take that long). An error text, or empty.
std::string_view ReadDivision(uint16_t division, TempoMap& map, bool& smpte) {
  smpte = (division & 0x8000) != 0;
  if (!smpte) {
    map = TempoMap::Starting(division, kSmfDefaultUsPerQuarter);
    return division == 0 ? "bad division" : std::string_view{};
  }
  const int framesPerSecond = -static_cast<int8_t>(division >> 8);
  const unsigned ticksPerFrame = division & 0xFF;
  uint32_t usPerNominalSecond = 1000000;
  int nominalFrames = framesPerSecond;
  switch (framesPerSecond) {
    case 24:
    case 25:
    case 30:
      break;
    case 29:
      nominalFrames = 30;
      usPerNominalSecond = 1001000;
      break;
    default:
      return "bad SMPTE frame rate";
  }
  if (ticksPerFrame == 0) return "bad division";
  map =
      TempoMap::Starting(static_cast<uint16_t>(nominalFrames * ticksPerFrame), usPerNominalSecond);
  return {};
}

// One walk over a file's tracks, gathering the tempo map and the end, and telling the listener.
class Walk {
 public:
  Walk(SmfListener* listener, TempoMap& map, bool smpte)
      : listener_(listener), map_(map), smpte_(smpte) {
    const uint32_t us = map.changes.front().usPerQuarter;
    smpteTempo_ = {static_cast<uint8_t>(us >> 16), static_cast<uint8_t>(us >> 8),
                   static_cast<uint8_t>(us)};
  }

  // Reads `count` track chunks, passing over chunks of other kinds. An error text, or empty.
  std::string_view Tracks(Cursor& c, uint16_t count) {
    for (uint16_t read = 0; read < count;) {
      std::span<const uint8_t> id, body;
      uint32_t length = 0;
      if (!c.Take(4, id) || !c.U32(length)) return "missing tracks";
      if (!c.Take(length, body)) return "chunk cut short";
      if (!std::equal(id.begin(), id.end(), "MTrk")) continue;  // a chunk of another kind
      if (const std::string_view error = Track(body); !error.empty()) return error;
      ++read;
    }
    return {};
  }

  uint64_t EndTick() const { return endTick_; }

 private:
  // Walks one track's events, to its end-of-track event or the end of its chunk (whatever
  // follows that event in the chunk is not played). An error text, or empty.
  std::string_view Track(std::span<const uint8_t> data) {
    if (listener_ != nullptr) listener_->TrackBegins();
    Cursor c(data);
    tick_ = 0;
    running_ = 0;
    ended_ = false;
    while (!c.AtEnd() && !ended_) {
      uint32_t delta = 0;
      if (!c.Vlq(delta)) return "bad delta time";
      tick_ += delta;
      if (const std::string_view error = Event(c); !error.empty()) return error;
    }
    endTick_ = std::max(endTick_, tick_);
    if (listener_ != nullptr) listener_->TrackEnds(tick_);
    return {};
  }

  // Reads one event at the cursor, after its delta time: a channel message (with the running
  // status in force), a system exclusive message, or a meta event. An error text, or empty.
  std::string_view Event(Cursor& c) {
    uint8_t status = 0;
    if (!c.Peek(status)) return "event cut short";
    if (status & 0x80) {
      c.Skip(1);
    } else if (running_ != 0) {
      status = running_;
    } else {
      return "data byte without status";
    }
    if (status < 0xF0) return Channel(c, status);
    if (status == 0xF0 || status == 0xF7) {
      running_ = 0;
      uint32_t length = 0;
      std::span<const uint8_t> body;
      if (!c.Vlq(length) || !c.Take(length, body)) return "system exclusive cut short";
      Tell({tick_, status, 0, body});
      return {};
    }
    if (status != 0xFF) return "bad status byte";
    return Meta(c);
  }

  std::string_view Channel(Cursor& c, uint8_t status) {
    running_ = status;
    const uint8_t kind = status & 0xF0;
    const size_t dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
    std::span<const uint8_t> data;
    if (!c.Take(dataBytes, data)) return "event cut short";
    for (const uint8_t d : data) {
      if (d & 0x80) return "bad data byte";
    }
    Tell({tick_, status, 0, data});
    return {};
  }

  // A meta event's type and body: a tempo change goes into the map (SMPTE timing keeps its own),
  // the end of the track ends it.
  std::string_view Meta(Cursor& c) {
    uint8_t type = 0;
    uint32_t length = 0;
    std::span<const uint8_t> body;
    if (!c.Byte(type) || !c.Vlq(length) || !c.Take(length, body)) return "meta event cut short";
    if (type == 0x2F) {
      ended_ = true;
      return {};
    }
    if (type == 0x51) {
      if (length != 3) return "bad tempo event";
      const uint32_t us = (uint32_t{body[0]} << 16) | (uint32_t{body[1]} << 8) | body[2];
      if (us == 0) return "bad tempo event";
      if (smpte_) {
        body = smpteTempo_;
      } else {
        if (map_.changes.size() > kSmfMaxTempoChanges) return "too many tempo changes";
        map_.changes.push_back({tick_, us});
      }
    }
    Tell({tick_, 0xFF, type, body});
    return {};
  }

  void Tell(const SmfEvent& event) {
    if (listener_ != nullptr) listener_->Event(event);
  }

  SmfListener* listener_;
  TempoMap& map_;
  bool smpte_;
  std::array<uint8_t, 3> smpteTempo_{};  // SMPTE timing's one tempo, for its tempo events
  uint64_t tick_ = 0;
  uint8_t running_ = 0;  // the channel status in force, 0 when none
  bool ended_ = false;   // at the end-of-track event
  uint64_t endTick_ = 0;
};

}  // namespace

SmfInfo ReadSmf(std::span<const uint8_t> bytes, SmfListener* listener) {
  if (bytes.size() > kSmfMaxFileBytes) return Fail("file too large");
  Cursor c(bytes);
  std::span<const uint8_t> id;
  uint32_t headerLength = 0;
  if (!c.Take(4, id) || !std::equal(id.begin(), id.end(), "MThd") || !c.U32(headerLength)) {
    return Fail("not a MIDI file");
  }
  uint16_t format = 0, trackCount = 0, division = 0;
  if (headerLength < 6 || !c.U16(format) || !c.U16(trackCount) || !c.U16(division) ||
      !c.Skip(headerLength - 6)) {
    return Fail("bad header");
  }
  if (format > 2) return Fail("unknown format");
  if (trackCount == 0) return Fail("no tracks");
  if (trackCount > kSmfMaxTracks) return Fail("too many tracks");
  SmfInfo info;
  bool smpte = false;
  if (const std::string_view error = ReadDivision(division, info.tempo, smpte); !error.empty())
    return Fail(error);
  if (listener != nullptr) listener->Timing(info.tempo);

  Walk walk(listener, info.tempo, smpte);
  if (const std::string_view error = walk.Tracks(c, trackCount); !error.empty()) return Fail(error);
  info.tempo.Settle();
  info.seconds = info.tempo.SecondsAt(walk.EndTick());
  if (!(info.seconds <= kSmfMaxSeconds)) return Fail("piece too long");
  info.ok = true;
  info.format = format;
  info.tracks = trackCount;
  return info;
}

bool ReadSmallFile(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes) {
  RegularFile file(path);
  return file.IsOpen() && file.ReadRest(bytes, maxBytes);
}

}  // namespace ombrevale
