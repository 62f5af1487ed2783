#pragma once

// The bytes of a replay that its writer and its reader share: the file's signature, the tags of
// its items, and its limits. docs/replay.md gives them in full.

#include <cstddef>
#include <cstdint>

namespace ombrevale::replay_bytes {

// The first 8 bytes of every replay: a byte no text begins with, "OVR", and the line ends and the
// end-of-file mark that a transfer as text would change.
inline constexpr uint8_t kSignature[8] = {0x89, 'O', 'V', 'R', '\r', '\n', 0x1A, '\n'};

// The tags. 0x00-0x3F: a pass begins, and the clock reads the tag's value more than before;
// 0x40-0x7F: the same, then a frame with its hash.
inline constexpr uint8_t kPassReading = 0x00, kPassReadingFrame = 0x40, kSmallStep = 0x40;
inline constexpr uint8_t kPass = 0x80, kReading = 0x81, kFrame = 0x82, kFrameUnchecked = 0x83,
                         kText = 0x84, kTextNextSecond = 0x85, kScale = 0x86, kSeed = 0x87,
                         kKey = 0x88, kMenu = 0x89, kPrompt = 0x8A, kClose = 0x8B, kBox = 0x8C,
                         kShape = 0x8D, kKeep = 0x8E, kEnd = 0xFF;

// What a replay may hold: more is refused as hostile.
inline constexpr size_t kMaxFileBytes = size_t{256} << 20;
inline constexpr size_t kMaxNameBytes = 64;   // the product, the platform, the start
inline constexpr size_t kMaxTextBytes = 64;   // a date-time text
inline constexpr size_t kMaxPathBytes = 255;  // a picture's name
inline constexpr size_t kMaxPictures = 64;
inline constexpr uint32_t kMaxKeep = 1u << 20;
inline constexpr uint32_t kMaxMenuEntry = 255;
inline constexpr double kMaxScale = 1000;

}  // namespace ombrevale::replay_bytes
