#pragma once

// A piece written out again as the reader understood it, in the plainest Standard MIDI File every
// synthesiser plays: a header of six bytes, time in ticks a quarter note (SMPTE timing turned into
// a tempo), each event with its status byte, only track chunks, each closed by its end-of-track
// event, and no escapes. Every driver plays this file rather than the one it was given, so that
// what sounds, and for how long, is what the reader measured.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/midi/Smf.h"

namespace ombrevale {

struct PlainSmf {
  SmfInfo info;                // what the reader understood; a refusal leaves `bytes` empty
  std::vector<uint8_t> bytes;  // the plain file
};

// Reads a file and writes it plain: format 0 where it was format 0 of one track, else format 1 (as
// the reader plays every track from the start); the events of each track in their order and at
// their ticks, an escape (0xF7) as an empty text event; a tempo event at the start of the first
// track where the timing was SMPTE.
PlainSmf WritePlainSmf(std::span<const uint8_t> bytes);

}  // namespace ombrevale
