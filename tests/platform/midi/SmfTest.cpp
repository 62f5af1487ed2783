#include "platform/midi/Smf.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "tests/platform/midi/SmfFiles.h"

namespace ombrevale {
namespace {

// Half a second: one note of 480 ticks at the default 120 beats a minute.
Bytes OneNote() {
  return File(0, 480,
              {Track().At(0, {0xC0, 0x00}).At(0, {0x90, 60, 100}).At(480, {0x80, 60, 64}).End(0)});
}

double Seconds(const Bytes& b) {
  const SmfInfo info = ReadSmf(b);
  EXPECT_TRUE(info.ok) << info.error;
  return info.seconds;
}

std::string_view Error(const Bytes& b) {
  const SmfInfo info = ReadSmf(b);
  EXPECT_FALSE(info.ok);
  EXPECT_FALSE(info.error.empty());
  return info.error;
}

TEST(SmfTest, OneNoteAtTheDefaultTempo) {
  const SmfInfo info = ReadSmf(OneNote());
  ASSERT_TRUE(info.ok) << info.error;
  EXPECT_EQ(info.format, 0);
  EXPECT_EQ(info.tracks, 1);
  EXPECT_DOUBLE_EQ(info.seconds, 0.5);
}

TEST(SmfTest, TempoChangesInAnyTrackApplyToAllTracks) {
  // 192 ticks at 500000 us, then 192 at 250000 us (PPQN 96): 1.0 + 0.5 s.
  Track tempo;
  tempo.Tempo(0, 500000).Tempo(192, 250000).End(0);
  Track notes;
  notes.At(0, {0x90, 60, 100}).At(384, {0x80, 60, 0}).End(0);
  EXPECT_DOUBLE_EQ(Seconds(File(1, 96, {tempo, notes})), 1.5);
  // The same map given from the notes' own track, and a change after the end that counts not.
  Track both;
  both.At(0, {0x90, 60, 100}).Tempo(192, 250000).At(192, {0x80, 60, 0}).End(0);
  EXPECT_DOUBLE_EQ(Seconds(File(0, 96, {both})), 1.5);
  Track late;
  late.Tempo(500, 1000000).End(0);
  EXPECT_DOUBLE_EQ(Seconds(File(1, 96, {both, late})), 1.0 + 0.5 + 116.0 / 96 * 0.25);
}

// The map the synthesiser on the page seeks by: each tick's time, and back, across changes given
// in any track and order, several at one tick among them.
TEST(SmfTest, TheTempoMapTurnsTicksIntoTimeAndBack) {
  Track tempo;  // 96 ticks a quarter: 120 beats a minute, then 240 from tick 192, 60 from 384
  tempo.Tempo(192, 300000).Tempo(0, 250000).Tempo(192, 1000000).End(0);
  Track notes;
  notes.At(0, {0x90, 60, 100}).Tempo(96, 500000).At(480, {0x80, 60, 0}).End(0);
  const SmfInfo info = ReadSmf(File(1, 96, {notes, tempo}));
  ASSERT_TRUE(info.ok) << info.error;
  EXPECT_EQ(info.tempo.ticksPerQuarter, 96);
  // The notes' change at 96 sets again the tempo in force; of the two at 192, the last holds.
  const std::vector<std::pair<uint64_t, uint32_t>> changes = {
      {0, 500000}, {192, 250000}, {384, 1000000}};
  ASSERT_EQ(info.tempo.changes.size(), changes.size());
  for (size_t i = 0; i < changes.size(); ++i) {
    EXPECT_EQ(info.tempo.changes[i].tick, changes[i].first);
    EXPECT_EQ(info.tempo.changes[i].usPerQuarter, changes[i].second);
  }
  // 192 ticks: 1 s; 192 more: 0.5 s; 192 more to the end: 2 s.
  EXPECT_DOUBLE_EQ(info.tempo.SecondsAt(192), 1.0);
  EXPECT_DOUBLE_EQ(info.tempo.SecondsAt(384), 1.5);
  EXPECT_DOUBLE_EQ(info.seconds, 3.5);
  EXPECT_EQ(info.tempo.TickAt(-5), 0u);
  EXPECT_EQ(info.tempo.TickAt(500), 96u);
  EXPECT_EQ(info.tempo.TickAt(1000), 192u);
  EXPECT_EQ(info.tempo.TickAt(1250), 288u);
  EXPECT_EQ(info.tempo.TickAt(2500), 480u);
  EXPECT_EQ(info.tempo.TickAt(60000), 384u + 96 * 58 + 48);  // past the end, at the last tempo
  for (uint64_t tick = 0; tick < 1000; tick += 7)
    EXPECT_EQ(info.tempo.TickAt(info.tempo.SecondsAt(tick) * 1000.0 + 1e-6), tick) << tick;
}

TEST(SmfTest, ThePieceEndsAtTheLatestEventOfAllTracksInEveryFormat) {
  Track shortOne;
  shortOne.At(0, {0x90, 60, 100}).At(96, {0x80, 60, 0}).End(0);
  Track longOne;
  longOne.At(0, {0x91, 64, 100}).At(96, {0x81, 64, 0}).End(192);
  for (uint16_t format : {1, 2}) {
    EXPECT_DOUBLE_EQ(Seconds(File(format, 96, {shortOne, longOne})), 1.5);
    EXPECT_DOUBLE_EQ(Seconds(File(format, 96, {longOne, shortOne})), 1.5);
  }
}

TEST(SmfTest, RunningStatusSysexAndMetaEvents) {
  Track t;
  t.At(0, {0x90, 60, 100})
      .At(48, {62, 100})                         // running status
      .At(0, {0xFF, 0x01, 0x03, 'a', 'b', 'c'})  // text: running status survives it
      .At(48, {64, 100})
      .At(0, {0xC1, 5})  // one data byte
      .At(48, {6})
      .At(0, {0xF0, 0x03, 0x7E, 0x7F, 0xF7})  // system exclusive
      .At(48, {0xF7, 0x01, 0x00})             // escape
      .At(0, {0xE0, 0x00, 0x40});
  t.End(0);
  EXPECT_DOUBLE_EQ(Seconds(File(0, 96, {t})), 1.0);

  Track cancelled;
  cancelled.At(0, {0x90, 60, 100}).At(0, {0xF0, 0x01, 0xF7}).At(48, {62, 100}).End(0);
  EXPECT_EQ(Error(File(0, 96, {cancelled})), "data byte without status");
}

TEST(SmfTest, EndOfTrackAndForeignChunks) {
  // Nothing after the end-of-track event is played.
  Track after;
  after.At(96, {0x90, 60, 100}).End(0).At(960, {0x80, 60, 0});
  EXPECT_DOUBLE_EQ(Seconds(File(0, 96, {after})), 0.5);
  // A track without one ends at its last event.
  Track open;
  open.At(96, {0x90, 60, 100}).At(96, {0x80, 60, 0});
  EXPECT_DOUBLE_EQ(Seconds(File(0, 96, {open})), 1.0);
  // A chunk of another kind between the header and the track is skipped.
  Bytes b = File(0, 96, {open});
  const Bytes alien = Chunk("XFIH", Bytes(10, 0xEE));
  b.insert(b.begin() + 14, alien.begin(), alien.end());
  EXPECT_DOUBLE_EQ(Seconds(b), 1.0);
}

TEST(SmfTest, SmpteDivisionCountsRealTimeAndIgnoresTempo) {
  Track t;
  t.Tempo(0, 250000).At(0, {0x90, 60, 100}).At(1500, {0x80, 60, 0}).End(0);
  // 25 frames of 40 ticks: 1000 ticks a second.
  EXPECT_DOUBLE_EQ(Seconds(File(0, 0xE728, {t})), 1.5);
  // 29.97 frames (drop frame) of 100 ticks.
  EXPECT_NEAR(Seconds(File(0, 0xE364, {t})), 1500 / (100 * 30000.0 / 1001), 1e-12);
  EXPECT_EQ(Error(File(0, 0xE928, {t})), "bad SMPTE frame rate");  // 23 frames
  EXPECT_EQ(Error(File(0, 0xE700, {t})), "bad division");

  // The map counts a nominal second's frames as a quarter note's ticks, the tempo events aside.
  const SmfInfo frames = ReadSmf(File(0, 0xE364, {t}));
  EXPECT_EQ(frames.tempo.ticksPerQuarter, 3000);
  ASSERT_EQ(frames.tempo.changes.size(), 1u);
  EXPECT_EQ(frames.tempo.changes[0].usPerQuarter, 1001000u);
  EXPECT_EQ(frames.tempo.TickAt(1001.5), 3001u);
  const SmfInfo thirty = ReadSmf(File(0, 0xE250, {t}));  // 30 frames of 80 ticks
  EXPECT_EQ(thirty.tempo.ticksPerQuarter, 2400);
  EXPECT_EQ(thirty.tempo.changes[0].usPerQuarter, 1000000u);
  EXPECT_EQ(thirty.tempo.TickAt(625.2), 1500u);
}

TEST(SmfTest, BrokenAndHostileFilesAreRefused) {
  const Bytes good = OneNote();
  EXPECT_EQ(Error({}), "not a MIDI file");
  EXPECT_EQ(Error(Bytes(good.begin(), good.begin() + 4)), "not a MIDI file");
  Bytes riff = good;
  riff[0] = 'R';
  EXPECT_EQ(Error(riff), "not a MIDI file");

  Bytes shortHeader = good;
  shortHeader[7] = 5;
  EXPECT_EQ(Error(shortHeader), "bad header");
  Bytes hugeHeader = good;
  hugeHeader[4] = 0x7F;
  EXPECT_EQ(Error(hugeHeader), "bad header");
  Bytes format3 = good;
  format3[9] = 3;
  EXPECT_EQ(Error(format3), "unknown format");
  Bytes noTracks = good;
  noTracks[11] = 0;
  EXPECT_EQ(Error(noTracks), "no tracks");
  Bytes manyTracks = good;
  manyTracks[10] = 0xFF;
  EXPECT_EQ(Error(manyTracks), "too many tracks");
  Bytes moreTracks = good;
  moreTracks[11] = 2;
  EXPECT_EQ(Error(moreTracks), "missing tracks");
  EXPECT_EQ(Error(File(0, 0, {Track().End(0)})), "bad division");

  Bytes longChunk = good;
  longChunk[18] = 0x10;  // the track claims more bytes than the file has
  EXPECT_EQ(Error(longChunk), "chunk cut short");

  // One track whose body is broken, and the reason each gives.
  const struct {
    std::vector<uint8_t> body;
    std::string_view error;
  } brokenTracks[] = {
      {{0x80}, "bad delta time"},                          // a delta cut short
      {{0x81, 0x80, 0x80, 0x80, 0x00}, "bad delta time"},  // five bytes of delta
      {{0x00}, "event cut short"},
      {{0x00, 0x90, 60}, "event cut short"},
      {{0x00, 0x90, 60, 0x80}, "bad data byte"},
      {{0x00, 60, 100}, "data byte without status"},
      {{0x00, 0xF1, 0x00}, "bad status byte"},
      {{0x00, 0xFF, 0x01, 0x10, 'a'}, "meta event cut short"},
      {{0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F}, "meta event cut short"},
      {{0x00, 0xF0, 0x05, 0x01}, "system exclusive cut short"},
      {{0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}, "bad tempo event"},
      {{0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00}, "bad tempo event"},  // no time a quarter
  };
  for (const auto& [body, error] : brokenTracks) {
    Track t;
    t.body = body;
    EXPECT_EQ(Error(File(0, 96, {t})), error) << testing::PrintToString(body);
  }

  // The slowest tempo, the coarsest division, the longest deltas: years, not a piece.
  Track endless;
  endless.Tempo(0, 0xFFFFFF);
  for (int i = 0; i < 4; ++i) endless.At(0x0FFFFFFF, {0x90, 60, 0});
  EXPECT_EQ(Error(File(0, 1, {endless})), "piece too long");
}

TEST(SmfTest, EveryCutAndEveryCorruptionOfAFileIsReadSafely) {
  Track tempo;
  tempo.Tempo(0, 400000).Tempo(100, 600000).End(0);
  Track notes;
  notes.At(0, {0x90, 60, 100})
      .At(50, {62, 100})
      .At(0, {0xF0, 0x02, 0x01, 0xF7})
      .At(50, {0x80, 60, 0});
  notes.End(10);
  const Bytes good = File(1, 96, {tempo, notes});
  ASSERT_TRUE(ReadSmf(good).ok);
  for (size_t n = 0; n < good.size(); ++n) {
    EXPECT_FALSE(ReadSmf(Bytes(good.begin(), good.begin() + static_cast<long>(n))).ok) << n;
  }
  std::mt19937 rng(12345);
  for (int round = 0; round < 20000; ++round) {
    Bytes b = good;
    const int flips = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < flips; ++i) b[rng() % b.size()] = static_cast<uint8_t>(rng());
    const SmfInfo info = ReadSmf(b);
    if (info.ok) {
      EXPECT_TRUE(std::isfinite(info.seconds));
      EXPECT_GE(info.seconds, 0.0);
      EXPECT_LE(info.seconds, kSmfMaxSeconds);
    }
  }
}

TEST(SmfTest, ReadSmallFileReadsWholeFilesUpToItsLimit) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("ombrevale_smf_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "a.mid").string();
  const Bytes good = OneNote();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(good.data()), static_cast<std::streamsize>(good.size()));
  Bytes read;
  EXPECT_TRUE(ReadSmallFile(path, read));
  EXPECT_EQ(read, good);
  EXPECT_FALSE(ReadSmallFile(path, read, good.size() - 1));
  EXPECT_FALSE(ReadSmallFile((dir / "none.mid").string(), read));
  EXPECT_FALSE(ReadSmallFile(dir.string(), read));  // a folder
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace ombrevale
