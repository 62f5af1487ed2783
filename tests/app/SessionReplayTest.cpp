// A session recorded on the headless backend and played back through the whole program: every
// frame as recorded across the box, the calm start's button and New Year; an input moved by one
// pass and a hash changed, each caught at its frame and said with the inputs before it; the
// flight recorder's last minute, checked after the rest is played unchecked.

#include <gtest/gtest.h>

#include <map>

#include "app/App.h"
#include "app/FixedStartClock.h"
#include "app/RecordedServices.h"
#include "app/ReplayRun.h"
#include "backends/headless/Headless.h"
#include "backends/headless/RecordingMedia.h"
#include "platform/replay/ReplayWriter.h"
#include "vision/VisionPictures.h"

namespace ombrevale {
namespace {

using K = ReplayItem::Kind;

// Pictures of speckled ink for every source of the vision, so that each frame differs.
MemoryPictureReader SpeckledPictures() {
  MemoryPictureReader reader;
  uint32_t seed = 1;
  for (const std::string& file : VisionFiles()) {
    Surface picture(120, 90);
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x) {
        seed = seed * 1664525u + 1013904223u;
        picture.Set(x, y, (seed >> 8) % 3 == 0 ? (seed & 0xFFFFFF) : 0);
      }
    reader.pictures[file] = picture;
  }
  return reader;
}

// A session on the headless backend, its wall clock starting at `start`, its events scheduled by
// `script`, recorded as it runs.
struct RecordedSession {
  explicit RecordedSession(DateTimeFields start, bool calm = false,
                           std::optional<uint32_t> checkedFor = std::nullopt)
      : wallClock(clock, start), recorder(SessionHeader(wallClock, "headless", calm), checkedFor) {
    if (calm) app.form.AskCalmStart();
  }
  std::vector<uint8_t> Run() {
    Main(app);
    return recorder.File();
  }

  FakeClock clock = [] {
    FakeClock c;
    c.now = 5000;
    return c;
  }();
  FixedStartClock wallClock;
  SystemRandom random;
  HeadlessDesktop desktop{clock};
  RecordingMedia media;
  MemoryPictureReader pictures = SpeckledPictures();
  Platform platform{wallClock, random, desktop, media, pictures};
  SessionRecorder recorder;
  int saveKeys = 0;
  RecordedPlatform recorded{platform, recorder, [this] { ++saveKeys; }};
  App app{recorded.platform};
};

struct Played {
  ReplayResult result;
  std::vector<std::string> labels;  // the label's text at each frame
};

Played Play(const std::vector<uint8_t>& file) {
  RecordingMedia media;
  MemoryPictureReader pictures = SpeckledPictures();
  Played played;
  played.result = PlayReplay(ReadReplay(file), media, pictures, {}, [&](uint64_t, const Scene& s) {
    played.labels.push_back(s.labels.empty() ? "" : s.labels[0].label->Caption);
  });
  return played;
}

// The replay again, its items changed by `change`.
std::vector<uint8_t> Changed(const std::vector<uint8_t>& file,
                             const std::function<void(std::vector<ReplayItem>&)>& change) {
  const Replay replay = ReadReplay(file);
  std::vector<ReplayItem> items;
  ReplayCursor cursor(replay.stream);
  for (ReplayItem item; cursor.Next(item);) items.push_back(item);
  change(items);
  ReplayStreamWriter stream;
  for (const ReplayItem& item : items) stream.Add(item);
  return WriteReplayFile(replay.header, stream);
}

size_t IndexOf(const std::vector<ReplayItem>& items, K kind, size_t from = 0) {
  for (size_t i = from; i < items.size(); ++i)
    if (items[i].kind == kind) return i;
  return items.size();
}

TEST(SessionReplay, EveryFrameOfARecordedSessionPlaysBackAsRecorded) {
  // Keys, the version box held open, a key typed while it was open, the year rolling over.
  RecordedSession s({2026, 12, 31, 23, 59, 58});
  s.desktop.Key(5300, 65);
  s.desktop.Key(5400, 82, 1);
  s.desktop.Menu(5500, 0);
  s.desktop.Key(6000, 88);  // dropped by the box
  s.desktop.Close(9000);
  const std::vector<uint8_t> file = s.Run();
  const uint64_t frames = static_cast<uint64_t>(s.desktop.frames);

  const Replay replay = ReadReplay(file);
  EXPECT_EQ(replay.header.pictures.size(), VisionFiles().size());
  EXPECT_EQ(replay.frames, frames);
  const Played played = Play(file);
  EXPECT_FALSE(played.result.divergence) << played.result.divergence->what;
  EXPECT_EQ(played.result.framesChecked, frames);
  // The clock, two years ahead, crossed New Year's midnight while the box was open.
  const auto shown = [&](const std::string& label) {
    return std::find(played.labels.begin(), played.labels.end(), label) != played.labels.end();
  };
  EXPECT_TRUE(shown("2028/12/31 23:59:58"));
  EXPECT_TRUE(shown("2029/01/01 0:00:00"));
  EXPECT_EQ(played.labels.back(), "2029/01/01 0:00:01");
}

TEST(SessionReplay, AnInputMovedByOnePassOrAHashChangedIsCaughtAtItsFrame) {
  // A calm start: the vision holds its first frame until Return.
  RecordedSession s({2026, 12, 7, 6, 38, 40}, true);
  s.desktop.Key(5200, 65);
  s.desktop.Key(5500, 13);
  s.desktop.Close(7000);
  const std::vector<uint8_t> file = s.Run();
  ASSERT_FALSE(Play(file).result.divergence);

  // Return one pass later: the vision starts a pass late, and the frame due is not there.
  const std::vector<uint8_t> late = Changed(file, [](std::vector<ReplayItem>& items) {
    const size_t key = IndexOf(items, K::Key, IndexOf(items, K::Key) + 1);
    const ReplayItem moved = items[key];
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(key));
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(IndexOf(items, K::Pass, key) + 1),
                 moved);
  });
  const Played movedPlayed = Play(late);
  ASSERT_TRUE(movedPlayed.result.divergence);
  const ReplayDivergence& moved = *movedPlayed.result.divergence;
  EXPECT_EQ(moved.frame, 2u);  // the first frame and its prompt came before
  EXPECT_EQ(moved.what, "the program began a pass of the loop where the replay holds a frame");
  EXPECT_EQ(moved.lastInputs, (std::vector<std::string>{"A at frame 2"}));

  // Frame 40's hash changed by one bit: frame 40, the two hashes, the inputs before it.
  const std::vector<uint8_t> changed = Changed(file, [](std::vector<ReplayItem>& items) {
    size_t at = 0;
    for (int frame = 0; frame <= 40; ++frame) at = IndexOf(items, K::Frame, at) + 1;
    *items[at - 1].hash ^= 1;
  });
  const Played changedPlayed = Play(changed);
  ASSERT_TRUE(changedPlayed.result.divergence);
  const ReplayDivergence& differs = *changedPlayed.result.divergence;
  EXPECT_EQ(differs.frame, 40u);
  EXPECT_EQ(*differs.expected ^ 1, *differs.shown);
  EXPECT_EQ(differs.lastInputs, (std::vector<std::string>{"A at frame 2", "Return at frame 2"}));
  EXPECT_EQ(changedPlayed.result.framesChecked, 40u);
  EXPECT_EQ(changedPlayed.result.shown.Width(), 400);
}

TEST(SessionReplay, TheReportSaysWhereItWentAnotherWayAndLeavesItsFramesBesideTheReplay) {
  RecordedSession s({2026, 12, 7, 6, 38, 40});
  s.desktop.Key(5100, 32);
  s.desktop.Close(6000);
  const std::vector<uint8_t> file = Changed(s.Run(), [](std::vector<ReplayItem>& items) {
    *items[IndexOf(items, K::Frame, IndexOf(items, K::Key))].hash += 1;
  });
  const Replay replay = ReadReplay(file);
  const Played played = Play(file);
  RecordingMedia media;
  MemoryPictureReader pictures = SpeckledPictures();
  std::map<std::string, Surface> written;
  testing::internal::CaptureStderr();
  const int status = ReportReplay(
      "runs/x.replay", replay, played.result, stdout,
      [&](const std::string& path, const Surface& s) { written[path] = s; }, media, pictures);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 1);
  const std::string frame = std::to_string(played.result.divergence->frame);
  const std::string before = std::to_string(played.result.divergence->frame - 1);
  EXPECT_NE(
      said.find("ombrevale: runs/x.replay went another way at frame " + frame + ": its hash is "),
      std::string::npos)
      << said;
  EXPECT_NE(said.find("ombrevale: the last inputs before it: Space at frame " + frame + "\n"),
            std::string::npos)
      << said;
  ASSERT_EQ(written.size(), 3u);
  const Surface& shown = written.at("runs/x.frame-" + frame + "-shown.png");
  const Surface& matched = written.at("runs/x.frame-" + before + "-matched.png");
  const Surface& difference = written.at("runs/x.frame-" + frame + "-difference.png");
  EXPECT_EQ(shown, played.result.shown);
  EXPECT_NE(matched, shown);
  // Red where the two differ, the frame before dimmed where they do not.
  for (int y = 0; y < 300; y += 7)
    for (int x = 0; x < 400; x += 3)
      ASSERT_EQ(difference.At(x, y), shown.At(x, y) != matched.At(x, y)
                                         ? Rgb(255, 0, 0)
                                         : (matched.At(x, y) >> 2) & 0x3F3F3F);
}

TEST(SessionReplay, TheFlightRecorderChecksTheLastMinuteAfterPlayingTheRestUnchecked) {
  // As the flight recorder keeps its last minute, a recorder that keeps its last second.
  RecordedSession s({2026, 12, 7, 6, 38, 40}, false, 1000);
  s.desktop.Key(5600, 82, 3);  // Ctrl+Shift+R: the recorder's, not the window's
  s.desktop.Key(6000, 65);
  s.desktop.Close(8000);
  s.Run();
  EXPECT_EQ(s.saveKeys, 1);
  const Replay replay = ReadReplay(s.recorder.File(1000));
  // Frames every 20 ms: those within a second of the last reading.
  EXPECT_EQ(replay.checkedFrames, 51u);
  EXPECT_EQ(replay.frames, static_cast<uint64_t>(s.desktop.frames));
  std::vector<ReplayItem> keys;
  ReplayCursor cursor(replay.stream);
  for (ReplayItem item; cursor.Next(item);)
    if (item.kind == K::Key) keys.push_back(item);
  EXPECT_EQ(keys, std::vector<ReplayItem>{KeyItem(65, 0)});

  const Played played = Play(s.recorder.File(1000));
  EXPECT_FALSE(played.result.divergence);
  EXPECT_EQ(played.result.framesShown, replay.frames);
  EXPECT_EQ(played.result.framesChecked, 51u);
}

TEST(SessionReplay, ReadingsLeftOutAsUnchangedComeBackInTheirPlaces) {
  // The text and the scale read several times a pass, changing between readings of one pass.
  const std::vector<std::vector<double>> scales = {{1, 1, 2}, {2, 2, 2}, {2, 3, 3}, {1}};
  const std::vector<std::vector<std::string>> texts = {{"a", "a"}, {"a", "b", "b"}, {}, {"b", "c"}};
  SessionRecorder recorder(ReplayHeader{}, std::nullopt);
  for (size_t pass = 0; pass < scales.size(); ++pass) {
    recorder.Add(Item(K::Pass));
    recorder.Reading(static_cast<uint32_t>(100 * pass));
    for (size_t i = 0; i < 3; ++i) {
      if (i < scales[pass].size()) recorder.Scale(scales[pass][i]);
      if (i < texts[pass].size()) recorder.Text(texts[pass][i]);
    }
  }
  const Replay replay = ReadReplay(recorder.File());
  ReplayFeed feed(replay);
  struct Nothing : WindowEvents {
    void KeyDown(int16_t&, int16_t) override {}
    void MenuClick(int) override {}
    void PromptClick() override {}
    void Unload() override {}
    bool Ended() const override { return false; }
  } events;
  for (size_t pass = 0; pass < scales.size(); ++pass) {
    feed.Pass(events, nullptr);
    EXPECT_EQ(feed.Reading(), 100 * pass);
    for (size_t i = 0; i < 3; ++i) {
      if (i < scales[pass].size()) {
        EXPECT_EQ(feed.Scale(), scales[pass][i]) << pass << " " << i;
      }
      if (i < texts[pass].size()) {
        EXPECT_EQ(feed.Text(), texts[pass][i]) << pass << " " << i;
      }
    }
  }
  EXPECT_FALSE(feed.Divergence());
}

}  // namespace
}  // namespace ombrevale
