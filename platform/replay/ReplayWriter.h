#pragma once

// Writing a replay: a session's items as bytes, as they come, then the whole file with its header
// and its end. Small on purpose: most passes of the loop show one frame, and take its 8-byte hash
// and one byte more.

#include <cstdint>
#include <vector>

#include "platform/replay/ReplayItems.h"

namespace ombrevale {

class ReplayStreamWriter {
 public:
  void Add(const ReplayItem& item);
  // The bytes of the items added so far.
  const std::vector<uint8_t>& Bytes();
  uint64_t Passes() const { return passes_; }
  uint64_t Frames() const { return frames_; }

 private:
  void Flush();
  void Put(uint8_t byte) { bytes_.push_back(byte); }
  void PutVarint(uint64_t value);
  void PutText(const std::string& text);
  void PutHash(uint64_t hash);

  std::vector<uint8_t> bytes_;
  uint64_t passes_ = 0, frames_ = 0;
  uint32_t lastReading_ = 0;
  std::string text_;
  // A pass begun, maybe with its first reading, waiting to be written with what follows it.
  bool passPending_ = false;
  std::optional<uint32_t> readingPending_;
};

// The whole file: the header, the items of `stream`, and its end, which counts the passes and
// the frames and closes with a checksum of everything before it.
std::vector<uint8_t> WriteReplayFile(const ReplayHeader& header, ReplayStreamWriter& stream);

}  // namespace ombrevale
