#pragma once

// Keeps the running session as a replay, in memory: everything the program was told (the clock's
// readings and texts, the seed, the window's events, the shown scale) for the whole session, a few
// kilobytes a minute, and the hashes of the frames it showed, all of them or only those of the
// last minute. Written out on request: a recording asked for, the flight recorder's last minute.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/replay/ReplayItems.h"
#include "platform/replay/ReplayWriter.h"

namespace ombrevale {

// How long the flight recorder keeps the frames checked: the last minute.
inline constexpr uint32_t kFlightMs = 60'000;

class SessionRecorder {
 public:
  // `checkedFor`: how many milliseconds of the session's clock the frames' hashes are kept for,
  // counted back from the last reading; none: every frame's.
  SessionRecorder(ReplayHeader header, std::optional<uint32_t> checkedFor);

  ReplayHeader& Header() { return header_; }

  // What the program was told, as it was told it.
  void Add(const ReplayItem& item);
  void Reading(uint32_t now);
  // A reading of the date-time text, or of the shown scale: kept only when it changed.
  void Text(const std::string& text);
  void Scale(double scale);
  // A frame shown, with the hash of what it showed.
  void Frame(uint64_t hash);

  // The session so far as a replay file: every frame checked whose hash is kept and lies within
  // `checkedFor` milliseconds of the last reading (none: every one kept).
  std::vector<uint8_t> File(std::optional<uint32_t> checkedFor = std::nullopt);

  uint64_t Frames() const { return frames_; }

 private:
  void Emit(const ReplayItem& item);

  ReplayHeader header_;
  std::optional<uint32_t> checkedFor_;
  ReplayStreamWriter stream_;  // the frames without their hashes
  struct Shown {
    uint32_t at;  // the last reading before it
    uint64_t hash;
  };
  std::deque<Shown> hashes_;  // those of the frames from `firstKept_` on
  uint64_t frames_ = 0, firstKept_ = 0;
  uint32_t lastReading_ = 0;
  std::string text_;
  double scale_ = 1;
  uint32_t heldText_ = 0, heldScale_ = 0;
};

// The header of a session that starts now: this program's version, the desktop's name, the local
// date and time as `clock` tells it, the zone's offset from the C library; how the title page
// started (`calm`, `flashLimitOff`).
ReplayHeader SessionHeader(Clock& clock, std::string platform, bool calm,
                           bool flashLimitOff = false);

}  // namespace ombrevale
