#pragma once

// The 64-bit hash a replay keeps of every frame shown, and of its own bytes: the same value on
// every desktop for the same pixels and texts, so that a session recorded on one plays checked on
// another.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Desktop.h"
#include "platform/Surface.h"

namespace ombrevale {

// A hash built up piece by piece: words of 64 bits in four lanes, so that a frame's pixels hash
// at the speed memory is read, then a final mix in which every bit of the input moves every bit
// of the value. Not for secrets: a quick, well-spread fingerprint.
class Hash64 {
 public:
  void AddWord(uint64_t word);
  // Two pixels make a word: the first in the low half.
  void AddPixels(const Pixel* pixels, size_t count);
  // A text with its length, so that two texts never run into each other.
  void AddText(std::string_view text);
  void AddBytes(const uint8_t* bytes, size_t count);
  uint64_t Value() const;

 private:
  uint64_t lanes_[4] = {0x243F6A8885A308D3ull, 0x13198A2E03707344ull, 0xA4093822299F31D0ull,
                        0x082EFA98EC4E6C89ull};
  uint64_t words_ = 0;
};

// The hash of what a scene shows: the canvas's pixels as handed to the desktop (after the flash
// limiter), the labels' texts and the prompt's; not the chrome, which follows from the pages, nor
// how the desktop draws the texts, which differs between desktops.
uint64_t HashShownFrame(const Scene& scene);

// The hash of a picture: its size and pixels.
uint64_t HashPicture(const Surface& picture);

}  // namespace ombrevale
