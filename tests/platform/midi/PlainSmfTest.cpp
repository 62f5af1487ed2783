#include "platform/midi/PlainSmf.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <vector>

#include "tests/platform/midi/SmfFiles.h"

namespace ombrevale {
namespace {

// What a reader heard of a file: every event, and where each track ended.
struct Heard final : SmfListener {
  using Said = std::tuple<int, uint64_t, uint8_t, uint8_t, Bytes>;  // track, tick, status, type
  std::vector<Said> events;
  std::vector<uint64_t> ends;
  uint16_t ticksPerQuarter = 0;

  void Timing(const TempoMap& start) override { ticksPerQuarter = start.ticksPerQuarter; }
  void TrackBegins() override {}
  void Event(const SmfEvent& e) override {
    events.emplace_back(static_cast<int>(ends.size()), e.tick, e.status, e.metaType,
                        Bytes(e.data.begin(), e.data.end()));
  }
  void TrackEnds(uint64_t tick) override { ends.push_back(tick); }
};

Heard Hear(const Bytes& file) {
  Heard heard;
  const SmfInfo info = ReadSmf(file, &heard);
  EXPECT_TRUE(info.ok) << info.error;
  return heard;
}

// The events as a plain file has them: an escape as an empty text event.
std::vector<Heard::Said> Played(std::vector<Heard::Said> events) {
  for (auto& [track, tick, status, type, data] : events) {
    if (status == 0xF7) std::tie(status, type, data) = std::tuple(0xFF, 0x01, Bytes{});
  }
  return events;
}

// The plain file of `file`, which must be read alike: the same length and map, the same events at
// the same ticks in the same tracks.
Bytes Plain(const Bytes& file) {
  const PlainSmf plain = WritePlainSmf(file);
  EXPECT_TRUE(plain.info.ok) << plain.info.error;
  const SmfInfo again = ReadSmf(plain.bytes);
  EXPECT_TRUE(again.ok) << again.error;
  EXPECT_EQ(again.seconds, plain.info.seconds);
  EXPECT_EQ(again.tempo.ticksPerQuarter, plain.info.tempo.ticksPerQuarter);
  EXPECT_EQ(again.tempo.changes.size(), plain.info.tempo.changes.size());
  return plain.bytes;
}

Track Tune() {
  Track t;
  t.At(0, {0xC0, 0x00}).At(0, {0x90, 60, 100}).At(480, {0x80, 60, 64});
  t.At(0, {0xF0, 0x03, 0x7E, 0x7F, 0xF7}).At(0, {0xFF, 0x01, 0x02, 'h', 'i'}).End(240);
  return t;
}

TEST(PlainSmfTest, APlainFileIsWrittenAsItWas) {
  Track tempo;
  tempo.Tempo(0, 400000).Tempo(960, 600000).End(0);
  for (const Bytes& file : {File(0, 480, {Tune()}), File(1, 96, {tempo, Tune(), Tune()})}) {
    EXPECT_EQ(Plain(file), file);
    EXPECT_EQ(WritePlainSmf(file).info.seconds, ReadSmf(file).seconds);
  }
  // A delta written longer than it needs is written as short as it goes.
  Bytes padded = File(0, 480, {Track().At(0, {0x90, 60, 100}).End(0)});
  padded.insert(padded.begin() + 22, 0x80);
  padded[21] = 9;
  EXPECT_EQ(Plain(padded), File(0, 480, {Track().At(0, {0x90, 60, 100}).End(0)}));
}

// The files a synthesiser refuses, or plays otherwise than the reader reads them, come out plain:
// the same events at the same ticks, in a file any synthesiser reads.
TEST(PlainSmfTest, WhatASynthesiserCannotReadIsWrittenPlain) {
  // Running status after a meta event and a system exclusive one: every status said.
  Track running;
  running.At(0, {0x90, 60, 100}).At(0, {0xFF, 0x01, 0x01, 'a'}).At(480, {60, 0});
  running.At(0, {0xC0, 5}).At(0, {0xFF, 0x06, 0x00}).At(10, {7}).End(0);
  Track explicitly;
  explicitly.At(0, {0x90, 60, 100}).At(0, {0xFF, 0x01, 0x01, 'a'}).At(480, {0x90, 60, 0});
  explicitly.At(0, {0xC0, 5}).At(0, {0xFF, 0x06, 0x00}).At(10, {0xC0, 7}).End(0);
  EXPECT_EQ(Plain(File(0, 480, {running})), File(0, 480, {explicitly}));

  // An escape keeps its place as an empty text event.
  EXPECT_EQ(
      Plain(File(0, 96, {Track().At(7, {0xF7, 0x02, 0xF8, 0xFA}).At(9, {0x90, 1, 1}).End(0)})),
      File(0, 96, {Track().At(7, {0xFF, 0x01, 0x00}).At(9, {0x90, 1, 1}).End(0)}));

  // A header longer than six bytes, chunks of other kinds, a track without its end and one with
  // events after it; format 2.
  Bytes odd = File(2, 480, {Tune(), Track().At(0, {0x90, 64, 1}).At(100, {0x80, 64, 0})});
  odd.insert(odd.begin() + 14, {'X', 'F', 'I', 'H', 0, 0, 0, 1, '?'});
  odd.insert(odd.begin() + 14, {1, 2, 3});
  odd[7] = 9;
  Bytes after = Chunk("MTrk", Track().At(0, {0x90, 62, 1}).End(5).At(500, {0x80, 62, 0}).body);
  odd.insert(odd.end(), after.begin(), after.end());
  odd[11] = 3;
  EXPECT_EQ(Plain(odd), File(1, 480,
                             {Tune(), Track().At(0, {0x90, 64, 1}).At(100, {0x80, 64, 0}).End(0),
                              Track().At(0, {0x90, 62, 1}).End(5)}));
}

TEST(PlainSmfTest, SmpteTimingBecomesATempoOfTheSameTime) {
  Track t;
  t.Tempo(0, 250000).At(0, {0x90, 60, 100}).Tempo(750, 900000).At(750, {0x80, 60, 0}).End(0);
  // 25 frames of 40 ticks, 30 of 80, 29.97 of 4: the piece lasts as long, its ticks where they
  // were, its tempo one second a nominal second's frames.
  for (const uint16_t division : {0xE728, 0xE250, 0xE304}) {
    const Bytes file = File(0, division, {t});
    const Bytes plain = Plain(file);
    const SmfInfo before = ReadSmf(file), after = ReadSmf(plain);
    EXPECT_EQ(plain[12] & 0x80, 0) << division;
    EXPECT_EQ(after.tempo.ticksPerQuarter, before.tempo.ticksPerQuarter);
    EXPECT_NEAR(after.seconds, before.seconds, 1e-12) << division;
    for (const uint64_t tick : {0, 1, 750, 1499})
      EXPECT_NEAR(after.tempo.SecondsAt(tick), before.tempo.SecondsAt(tick), 1e-12);
    const Heard heard = Hear(plain);
    ASSERT_EQ(heard.events.size(), 5u);
    for (const auto& [track, tick, status, type, data] : heard.events) {
      if (type != 0x51) continue;
      const uint32_t us = (data[0] << 16) | (data[1] << 8) | data[2];
      EXPECT_EQ(us, before.tempo.changes[0].usPerQuarter) << tick;
    }
  }
  EXPECT_DOUBLE_EQ(ReadSmf(Plain(File(0, 0xE728, {t}))).seconds, 1.5);
}

// Whatever the reader accepts, however odd, is written into a file it reads alike.
TEST(PlainSmfTest, EveryFileTheReaderAcceptsIsReadAlikeWhenPlain) {
  Track tempo;
  tempo.Tempo(0, 400000).At(0, {0xFF, 0x01, 0x01, 'x'}).Tempo(100, 600000).End(0);
  Track notes;
  notes.At(0, {0x90, 60, 100}).At(50, {62, 100}).At(0, {0xF0, 0x02, 0x01, 0xF7});
  notes.At(50, {0x80, 60, 0}).At(0, {0xFF, 0x01, 0x00}).At(3, {61, 0}).End(10);
  const Bytes good = File(1, 96, {tempo, notes});
  std::mt19937 rng(4321);
  int accepted = 0;
  for (int round = 0; round < 20000; ++round) {
    Bytes b = good;
    const int flips = 1 + static_cast<int>(rng() % 3);
    for (int i = 0; i < flips; ++i) b[rng() % b.size()] = static_cast<uint8_t>(rng());
    if (!ReadSmf(b).ok) continue;
    ++accepted;
    const Heard before = Hear(b), after = Hear(Plain(b));
    const bool smpte = b[12] & 0x80;
    if (!smpte) {
      EXPECT_EQ(after.events, Played(before.events));
    }
    EXPECT_EQ(after.ends, before.ends);
  }
  EXPECT_GT(accepted, 1000);
}

}  // namespace
}  // namespace ombrevale
