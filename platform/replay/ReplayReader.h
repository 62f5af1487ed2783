#pragma once

// Reading a replay: the whole file checked before anything plays (its signature, format, header,
// every item and the order they come in, its counts and checksum), then its items one by one.
// Whatever the bytes, the answer is a replay or one sentence that says what is wrong with it.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/replay/ReplayItems.h"

namespace ombrevale {

// What is wrong with a replay that cannot be played: one sentence, in lower case, that says it
// of the file ("is cut short", "is corrupted: ..."), to follow the file's name.
class ReplayError : public std::runtime_error {
 public:
  explicit ReplayError(const std::string& what) : std::runtime_error(what) {}
};

struct Replay {
  ReplayHeader header;
  std::vector<uint8_t> stream;  // the items' bytes, checked
  uint64_t passes = 0;
  uint64_t frames = 0;
  uint64_t checkedFrames = 0;  // the frames that come with a hash
};

// Reads and checks a whole replay file. Throws ReplayError.
Replay ReadReplay(std::span<const uint8_t> bytes);

// The numbers and texts of a replay's bytes, read in order; running out of bytes, or a number
// past its limit, is a ReplayError.
class ReplayByteReader {
 public:
  // Reads `bytes` from offset `from`.
  explicit ReplayByteReader(std::span<const uint8_t> bytes, size_t from = 0)
      : bytes_(bytes), pos_(std::min(from, bytes.size())) {}
  uint8_t Byte();
  // An unsigned number of 7 bits a byte, low bits first, at most `max`.
  uint64_t Varint(uint64_t max);
  // A signed number, folded into an unsigned one (0, -1, 1, -2 ... as 0, 1, 2, 3 ...).
  int64_t SignedVarint(uint64_t maxFolded);
  // A text: its length, then its bytes, none of them a control character.
  std::string Text(size_t max);
  // 8 bytes, low byte first.
  uint64_t Fixed64();
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  uint8_t Peek() const { return bytes_[pos_]; }
  // The offset of the byte read next.
  size_t Offset() const { return pos_; }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
};

// The items of a stream of bytes, one by one, as ReplayStreamWriter wrote them.
class ReplayCursor {
 public:
  // Reads the items of `stream` from offset `from`: offsets in sentences count from its start.
  explicit ReplayCursor(std::span<const uint8_t> stream, size_t from = 0) : in_(stream, from) {}
  // The next item; false at the stream's end (its end tag, or its last byte). Throws ReplayError
  // for bytes that are no item.
  bool Next(ReplayItem& item);
  // The offset of the byte read next.
  size_t Offset() const { return in_.Offset(); }

 private:
  void Decode(uint8_t tag);
  ReplayItem DecodeOne(uint8_t tag);

  ReplayByteReader in_;
  uint32_t reading_ = 0;
  std::string text_;
  std::deque<ReplayItem> ready_;
};

}  // namespace ombrevale
