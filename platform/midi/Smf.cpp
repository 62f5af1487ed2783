#include "platform/midi/Smf.h"

#include <algorithm>

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

struct TempoChange {
  uint64_t tick;
  uint32_t usPerQuarter;
};

SmfInfo Fail(std::string_view why) {
  SmfInfo info;
  info.error = why;
  return info;
}

// Reads a meta event's type and body: a tempo change is gathered, the end of the track said.
std::string_view ReadMeta(Cursor& c, uint64_t tick, std::vector<TempoChange>& tempi,
                          bool& trackEnded) {
  uint8_t type = 0;
  uint32_t length = 0;
  std::span<const uint8_t> body;
  if (!c.Byte(type) || !c.Vlq(length) || !c.Take(length, body)) return "meta event cut short";
  if (type == 0x51) {
    if (length != 3) return "bad tempo event";
    if (tempi.size() >= kSmfMaxTempoChanges) return "too many tempo changes";
    tempi.push_back({tick, (uint32_t{body[0]} << 16) | (uint32_t{body[1]} << 8) | body[2]});
  }
  trackEnded = type == 0x2F;
  return {};
}

// Reads one event at the cursor, after its delta time, at `tick`: a channel message (with the
// running status in force), a system exclusive message, or a meta event, whose tempo changes are
// gathered. Sets `trackEnded` at the end-of-track event. Returns an error text, or empty.
std::string_view ReadEvent(Cursor& c, uint64_t tick, uint8_t& running,
                           std::vector<TempoChange>& tempi, bool& trackEnded) {
  uint8_t status = 0;
  if (!c.Peek(status)) return "event cut short";
  if (status & 0x80) {
    c.Skip(1);
  } else if (running != 0) {
    status = running;
  } else {
    return "data byte without status";
  }
  if (status < 0xF0) {
    running = status;
    const uint8_t kind = status & 0xF0;
    const size_t dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
    for (size_t i = 0; i < dataBytes; ++i) {
      uint8_t d = 0;
      if (!c.Byte(d)) return "event cut short";
      if (d & 0x80) return "bad data byte";
    }
    return {};
  }
  if (status == 0xF0 || status == 0xF7) {
    running = 0;
    uint32_t length = 0;
    if (!c.Vlq(length) || !c.Skip(length)) return "system exclusive cut short";
    return {};
  }
  if (status != 0xFF) return "bad status byte";
  return ReadMeta(c, tick, tempi, trackEnded);
}

// Walks one track's events; sets `endTick` to the time of its last event and gathers its tempo
// changes. Returns an error text, or empty.
std::string_view ReadTrack(std::span<const uint8_t> data, uint64_t& endTick,
                           std::vector<TempoChange>& tempi) {
  Cursor c(data);
  uint64_t tick = 0;
  uint8_t running = 0;  // the channel status in force, 0 when none
  bool ended = false;   // at the end-of-track event: whatever follows in the chunk is not played
  while (!c.AtEnd() && !ended) {
    uint32_t delta = 0;
    if (!c.Vlq(delta)) return "bad delta time";
    tick += delta;
    if (const std::string_view error = ReadEvent(c, tick, running, tempi, ended); !error.empty())
      return error;
  }
  endTick = tick;
  return {};
}

// How the file counts time: ticks a quarter note (the tempo map's), or seconds a tick (SMPTE).
struct Timing {
  uint32_t ticksPerQuarter = 0;
  double secondsPerTick = 0;
};

// The timing of a header's division; an error text, or empty.
std::string_view ReadDivision(uint16_t division, Timing& timing) {
  if ((division & 0x8000) == 0) {
    timing.ticksPerQuarter = division;
    return division == 0 ? "bad division" : std::string_view{};
  }
  const int framesPerSecond = -static_cast<int8_t>(division >> 8);
  const unsigned ticksPerFrame = division & 0xFF;
  double fps = 0;
  switch (framesPerSecond) {
    case 24:
    case 25:
    case 30:
      fps = framesPerSecond;
      break;
    case 29:
      fps = 30000.0 / 1001.0;
      break;
    default:
      return "bad SMPTE frame rate";
  }
  if (ticksPerFrame == 0) return "bad division";
  timing.secondsPerTick = 1.0 / (fps * ticksPerFrame);
  return {};
}

// Reads `count` track chunks, passing over chunks of other kinds: the latest end of them all, and
// their tempo changes. Returns an error text, or empty.
std::string_view ReadTracks(Cursor& c, uint16_t count, uint64_t& endTick,
                            std::vector<TempoChange>& tempi) {
  for (uint16_t read = 0; read < count;) {
    std::span<const uint8_t> id, body;
    uint32_t length = 0;
    if (!c.Take(4, id) || !c.U32(length)) return "missing tracks";
    if (!c.Take(length, body)) return "chunk cut short";
    if (!std::equal(id.begin(), id.end(), "MTrk")) continue;  // a chunk of another kind
    uint64_t trackEnd = 0;
    if (const std::string_view error = ReadTrack(body, trackEnd, tempi); !error.empty())
      return error;
    endTick = std::max(endTick, trackEnd);
    ++read;
  }
  return {};
}

// The time of tick `endTick`, in seconds.
double SecondsAt(uint64_t endTick, const Timing& timing, std::vector<TempoChange>& tempi) {
  if (timing.ticksPerQuarter == 0) return static_cast<double>(endTick) * timing.secondsPerTick;
  std::stable_sort(tempi.begin(), tempi.end(),
                   [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
  uint64_t tick = 0;
  double usPerQuarter = 500000;
  double microseconds = 0;
  for (const TempoChange& t : tempi) {
    if (t.tick >= endTick) break;
    microseconds += static_cast<double>(t.tick - tick) * usPerQuarter;
    tick = t.tick;
    usPerQuarter = t.usPerQuarter;
  }
  microseconds += static_cast<double>(endTick - tick) * usPerQuarter;
  return microseconds / (1e6 * timing.ticksPerQuarter);
}

}  // namespace

SmfInfo ReadSmf(std::span<const uint8_t> bytes) {
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
  Timing timing;
  if (const std::string_view error = ReadDivision(division, timing); !error.empty())
    return Fail(error);

  std::vector<TempoChange> tempi;
  uint64_t endTick = 0;
  if (const std::string_view error = ReadTracks(c, trackCount, endTick, tempi); !error.empty())
    return Fail(error);
  const double seconds = SecondsAt(endTick, timing, tempi);
  if (!(seconds <= kSmfMaxSeconds)) return Fail("piece too long");

  SmfInfo info;
  info.ok = true;
  info.format = format;
  info.tracks = trackCount;
  info.seconds = seconds;
  return info;
}

bool ReadSmallFile(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes) {
  RegularFile file(path);
  return file.IsOpen() && file.ReadRest(bytes, maxBytes);
}

}  // namespace ombrevale
