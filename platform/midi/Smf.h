#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/midi/TempoMap.h"

namespace ombrevale {

// Our own small reader of Standard MIDI Files. It finds what the music channel needs, the length
// of a piece and its tempo map, and hands each event it understood to whoever listens (the plain
// file every driver plays is written from them, PlainSmf.h). It is small, bounded and silent:
// every read is checked against the data, sizes are capped, and a broken or hostile file gives an
// error, never a log line.

inline constexpr size_t kSmfMaxFileBytes = size_t{8} << 20;  // 8 MiB: far beyond any real piece
inline constexpr uint32_t kSmfMaxTracks = 1024;
inline constexpr size_t kSmfMaxTempoChanges = size_t{1} << 20;
inline constexpr double kSmfMaxSeconds = 24.0 * 3600.0;  // a "piece" longer than a day is refused

struct SmfInfo {
  bool ok = false;
  std::string_view error;  // why the file was refused (a fixed text), empty when ok
  uint16_t format = 0;     // 0, 1 or 2
  uint16_t tracks = 0;     // track chunks read
  double seconds = 0;      // time of the piece's last event (its end of track, as a rule)
  TempoMap tempo;          // in ticks a quarter note, also where the file counts SMPTE frames
};

// One event as the reader understood it, its status said also where the file ran it on.
struct SmfEvent {
  uint64_t tick = 0;              // from the start of its track
  uint8_t status = 0;             // 0x80 to 0xEF, 0xF0 or 0xF7 (system exclusive), 0xFF (meta)
  uint8_t metaType = 0;           // a meta event's type
  std::span<const uint8_t> data;  // a channel message's data bytes; the body of the others
};

// Hears a file's events as the reader walks it: the timing first, then each track in turn. Only
// what it heard of a file the reader accepted counts.
class SmfListener {
 public:
  virtual ~SmfListener() = default;
  // The tempo from tick 0, in ticks a quarter note.
  virtual void Timing(const TempoMap& start) = 0;
  virtual void TrackBegins() = 0;
  // Every event but the end of the track.
  virtual void Event(const SmfEvent& event) = 0;
  // The track ends at `tick`: its end-of-track event, or its last event where it has none.
  virtual void TrackEnds(uint64_t tick) = 0;
};

// Reads a whole file's bytes, telling `listener` (when given) what it understood.
//
// Formats 0, 1 and 2 are read alike: every track starts at time 0 and a tempo change in any track
// applies to all of them, which is how the synthesiser plays a file. Division in ticks per quarter
// note follows the tempo map (500000 us per quarter until the first change; a tempo of 0 is
// refused). SMPTE division (24, 25, 29.97 or 30 frames per second) counts real time and ignores
// tempo changes: its map has the frames of a nominal second as ticks a quarter, at one second a
// quarter (1.001 s at 29.97 frames), and its tempo events hold that tempo. Running status is
// followed, also across meta events, as many writers rely on it; a system exclusive message
// cancels it. Chunks other than tracks, and a header's bytes past its sixth, are skipped. A track
// without its end-of-track event ends at its last event. The piece ends at the latest event of
// all tracks.
SmfInfo ReadSmf(std::span<const uint8_t> bytes, SmfListener* listener = nullptr);

// Reads an ordinary file of at most kSmfMaxFileBytes into `bytes` (platform/files/: a FIFO or a
// device in its place is refused at once). False when it cannot be opened or read, or is larger.
bool ReadSmallFile(const std::string& path, std::vector<uint8_t>& bytes,
                   size_t maxBytes = kSmfMaxFileBytes);

}  // namespace ombrevale
