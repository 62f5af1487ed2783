#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ombrevale {

// Our own small reader of Standard MIDI Files. It finds only what the music channel needs, the
// length of a piece, and it is small, bounded and silent: every read is checked against the
// data, sizes are capped, and a broken or hostile file gives an error, never a log line.

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
};

// Reads a whole file's bytes.
//
// Formats 0, 1 and 2 are read alike: every track starts at time 0 and a tempo change in any track
// applies to all of them, which is how the synthesiser plays a file. Division in ticks per quarter
// note follows the tempo map (500000 us per quarter until the first change); SMPTE division
// (24, 25, 29.97 or 30 frames per second) counts real time and ignores tempo changes. Running
// status is followed, also across meta events, as many writers rely on it; a system exclusive
// message cancels it. Chunks other than tracks are skipped. A track without its end-of-track event
// ends at its last event. The piece ends at the latest event of all tracks.
SmfInfo ReadSmf(std::span<const uint8_t> bytes);

// Reads an ordinary file of at most kSmfMaxFileBytes into `bytes` (platform/files/: a FIFO or a
// device in its place is refused at once). False when it cannot be opened or read, or is larger.
bool ReadSmallFile(const std::string& path, std::vector<uint8_t>& bytes,
                   size_t maxBytes = kSmfMaxFileBytes);

}  // namespace ombrevale
