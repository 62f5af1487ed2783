// A replay file written and read back: every kind of item as it went in, an hour of the title page
// within its size, and each kind of bad file refused with its own sentence.

#include <gtest/gtest.h>

#include <random>

#include "platform/Clock.h"
#include "platform/replay/FrameHash.h"
#include "platform/replay/ReplayBytes.h"
#include "platform/replay/ReplayReader.h"
#include "platform/replay/ReplayWriter.h"

namespace ombrevale {
namespace {

using K = ReplayItem::Kind;
namespace rb = replay_bytes;

ReplayHeader Header() {
  return {.product = "Ombrevale 0.13",
          .platform = "linux",
          .start = "2026/12/31 23:59:58",
          .zoneMinutes = -300,
          .calm = true,
          .flashLimitOff = true,
          .pictures = {{"dat/a.bmp", 0x1234567890ABCDEFull}, {"dat/missing.bmp", std::nullopt}}};
}

std::vector<ReplayItem> Items(const std::vector<uint8_t>& stream) {
  std::vector<ReplayItem> items;
  ReplayCursor cursor(stream);
  ReplayItem item;
  while (cursor.Next(item)) items.push_back(item);
  return items;
}

std::vector<uint8_t> File(const std::vector<ReplayItem>& items, const ReplayHeader& h = Header()) {
  ReplayStreamWriter stream;
  for (const ReplayItem& item : items) stream.Add(item);
  return WriteReplayFile(h, stream);
}

// A session that holds every kind of item, the clock wrapping past 2^32 and the year rolling over.
std::vector<ReplayItem> EveryKind() {
  std::vector<ReplayItem> s = {
      Item(K::Reading, 0xFFFFFFF0u),
      Item(K::Seed, 0xFFFFFFF0u),
      TextItem("2026/12/31 23:59:58"),
      Item(K::Pass),
      Item(K::Reading, 0xFFFFFFF0u + 5),
      FrameItem(42),
      TextItem("2026/12/31 23:59:59"),
      Item(K::Pass),
      KeyItem(-32768, 7),
      KeyItem(82, 3),
      Item(K::Menu, 0),
      Item(K::Box, 2500),
      ShapeItem(1024, 768, true),
      Item(K::Reading, 3000),  // past the wrap, a long step
      Item(K::Reading, 3001),  // a second reading in the pass
      ScaleItem(2.5),
      Item(K::Frame),  // shown, not checked
      KeepItem(ReplayHeld::Text, 2),
      TextItem("2027/01/01 0:00:00"),  // the next second, across the year
      TextItem("Sat 1 Jan"),           // a text of another form
      Item(K::Pass),
      Item(K::Prompt),
      Item(K::Reading, 3100),
      FrameItem(~uint64_t{0}),
      Item(K::Pass),
      Item(K::Close),
  };
  return s;
}

TEST(ReplayFile, EveryItemAndTheHeaderComeBackAsTheyWent) {
  const std::vector<ReplayItem> items = EveryKind();
  const std::vector<uint8_t> bytes = File(items);
  const Replay replay = ReadReplay(bytes);
  EXPECT_EQ(replay.header, Header());
  EXPECT_EQ(Items(replay.stream), items);
  EXPECT_EQ(replay.passes, 4u);
  EXPECT_EQ(replay.frames, 3u);
  EXPECT_EQ(replay.checkedFrames, 2u);
}

TEST(ReplayFile, AnHourOfTheTitlePageTakesLessThanTwoMegabytes) {
  // Fifty frames a second, each in a pass of its own, a reading 19 to 22 ms after the one before
  // (a desktop wakes a little late at times); the music's slot in a pass of its own five times a
  // second; the clock's text once a second.
  std::mt19937 chance(7);
  ReplayStreamWriter stream;
  uint32_t now = 123456789;
  stream.Add(Item(K::Reading, now));
  stream.Add(Item(K::Seed, now));
  for (int frame = 0; frame < 3600 * 50; ++frame) {
    stream.Add(Item(K::Pass));
    now += 19 + chance() % 4;
    stream.Add(Item(K::Reading, now));
    stream.Add(FrameItem((uint64_t{chance()} << 32) | chance()));
    if (frame % 50 == 0)
      stream.Add(TextItem(FormatDateTime({2026, 12, 7, 6, frame / 3000 % 60, frame / 50 % 60})));
    if (frame % 10 == 5) {
      stream.Add(Item(K::Pass));
      stream.Add(Item(K::Reading, now + 3));
    }
  }
  const std::vector<uint8_t> bytes = WriteReplayFile(Header(), stream);
  EXPECT_LT(bytes.size(), 2'000'000u);
  const Replay replay = ReadReplay(bytes);
  EXPECT_EQ(replay.frames, 180000u);
}

std::string Refusal(const std::vector<uint8_t>& bytes) {
  try {
    ReadReplay(bytes);
  } catch (const ReplayError& e) {
    return e.what();
  }
  return "read";
}

// A file of raw items with a header, an end that counts `passes` and `frames`, and a true checksum:
// what a hostile file can be.
std::vector<uint8_t> Sealed(std::vector<uint8_t> items, uint8_t passes, uint8_t frames) {
  std::vector<uint8_t> out = File({});
  out.resize(out.size() - 11);  // the empty session's end: its tag, two counts, the checksum
  out.insert(out.end(), items.begin(), items.end());
  out.insert(out.end(), {rb::kEnd, passes, frames});
  const auto length = static_cast<uint32_t>(out.size() + 8);
  for (int k = 0; k < 4; ++k) out[9 + k] = static_cast<uint8_t>(length >> (8 * k));
  Hash64 sum;
  sum.AddBytes(out.data(), out.size());
  for (int k = 0; k < 8; ++k) out.push_back(static_cast<uint8_t>(sum.Value() >> (8 * k)));
  return out;
}

TEST(ReplayFile, EveryKindOfBadFileIsRefusedWithItsOwnSentence) {
  const std::vector<uint8_t> good = File(EveryKind());
  ASSERT_EQ(Refusal(Sealed({}, 0, 0)), "read");
  ASSERT_EQ(Refusal(Sealed({rb::kPass, rb::kPrompt}, 1, 0)), "read");

  EXPECT_EQ(Refusal({}), "is cut short");
  EXPECT_EQ(Refusal({'G', 'I', 'F', '8', '9', 'a'}), "is not an Ombrevale replay");
  // Cut anywhere, it says so, whatever part was lost.
  for (size_t size = 1; size < good.size(); ++size) {
    const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    ASSERT_EQ(Refusal(cut), "is cut short") << "cut to " << size << " bytes";
  }
  std::vector<uint8_t> later = good;
  later[8] = 2;
  EXPECT_EQ(Refusal(later), "is a replay of format 2, and this program reads format 1");
  // A byte changed anywhere past the format and the length.
  for (size_t at = 13; at < good.size(); at += 7) {
    std::vector<uint8_t> changed = good;
    changed[at] ^= 0x10;
    ASSERT_EQ(Refusal(changed), "is corrupted: its checksum does not match") << "byte " << at;
  }
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  EXPECT_EQ(Refusal(longer), "goes on after its end at byte " + std::to_string(good.size()));

  // Hostile: well sealed, but no session could have made it.
  const size_t items = File({}).size() - 11;
  const auto at = [items](size_t k) { return " at byte " + std::to_string(items + k); };
  EXPECT_EQ(Refusal(Sealed({rb::kKey, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x01, 0}, 0, 0)),
            "holds a number past its limit" + at(1));
  EXPECT_EQ(Refusal(Sealed({rb::kMenu, 0}, 0, 0)),
            "holds an input before the loop's first pass" + at(0));
  EXPECT_EQ(Refusal(Sealed({rb::kPass, rb::kBox, 5}, 1, 0)),
            "holds a box that no menu click opened" + at(1));
  EXPECT_EQ(Refusal(Sealed({rb::kPass, rb::kClose, rb::kPass}, 2, 0)),
            "holds entries after the window was closed" + at(2));
  EXPECT_EQ(Refusal(Sealed({rb::kPass, rb::kSeed, 1}, 1, 0)),
            "holds a seed outside the window's load" + at(1));
  EXPECT_EQ(Refusal(Sealed({rb::kPass, 0x9F}, 1, 0)), "holds an unknown entry" + at(1));
  EXPECT_EQ(Refusal(Sealed({rb::kTextNextSecond}, 0, 0)),
            "holds a next second after no date" + at(0));
  EXPECT_EQ(Refusal(Sealed({rb::kKeep, 0, 0x81, 0x80, 0x80, 0x01}, 0, 0)),
            "holds a number past its limit" + at(2));
  EXPECT_EQ(Refusal(Sealed({rb::kPassReadingFrame + 20, 1, 2, 3, 4, 5, 6, 7, 8}, 1, 2)),
            "says it holds 2 frames in 1 passes, but holds 1 in 1");
  EXPECT_EQ(Refusal(Sealed({rb::kScale, 0, 0, 0, 0, 0, 0, 0xF0, 0x7F}, 0, 0)),  // infinity
            "holds a scale out of range" + at(0));
}

TEST(FrameHash, TellsApartWhatAFrameShowsAndNothingElse) {
  Surface canvas(400, 300, 0x102030);
  Label label;
  label.Caption = "2028/12/07 6:38:40";
  Scene scene;
  scene.canvas = &canvas;
  scene.labels.push_back({&label, {}});
  const uint64_t shown = HashShownFrame(scene);

  Surface other = canvas;
  other.Set(399, 299, 0x102031);  // the last pixel, by one
  Scene changed = scene;
  changed.canvas = &other;
  EXPECT_NE(HashShownFrame(changed), shown);
  Label later = label;
  later.Caption = "2028/12/07 6:38:41";
  changed = scene;
  changed.labels[0].label = &later;
  EXPECT_NE(HashShownFrame(changed), shown);
  const Prompt prompt{"Start the vision", "Return or Space starts it too"};
  changed = scene;
  changed.prompt = &prompt;
  EXPECT_NE(HashShownFrame(changed), shown);
  // Where the desktop draws the label, and the chrome around the canvas, are the desktop's.
  Surface chrome(404, 304, 0xFFC0C0);
  changed = scene;
  changed.labels[0].box = {3, 4, 100, 20};
  changed.chrome = &chrome;
  changed.chromeRevision = 9;
  EXPECT_EQ(HashShownFrame(changed), shown);
}

}  // namespace
}  // namespace ombrevale
