#include "platform/mci/Mci.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace ombrevale {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// ---- Parser ----------------------------------------------------------------------------------

MciCommand Parsed(std::string_view text) {
  MciCommand c;
  EXPECT_EQ(ParseMciCommand(text, c), kMciSuccess) << text;
  return c;
}

TEST(MciParseTest, EveryCommandOfTheVocabulary) {
  struct Case {
    const char* text;
    MciVerb verb;
    const char* alias;
    const char* path;
  };
  const Case cases[] = {
      {"open \"dat/a.mid\" type sequencer alias m1", MciVerb::Open, "m1", "dat/a.mid"},
      {"play m1", MciVerb::Play, "m1", ""},
      {"play m1 from 0", MciVerb::PlayFromStart, "m1", ""},
      {"stop m1", MciVerb::Stop, "m1", ""},
      {"close m1", MciVerb::Close, "m1", ""},
      {"pause m1", MciVerb::Pause, "m1", ""},
      {"resume m1", MciVerb::Resume, "m1", ""},
      {"seek m1 to 0", MciVerb::SeekToStart, "m1", ""},
      {"seek m1 to start", MciVerb::SeekToStart, "m1", ""},
      {"status m1 mode", MciVerb::StatusMode, "m1", ""},
      // Keywords and aliases in any case, blanks and tabs anywhere between words.
      {"  PLAY\tM1   FROM 000 ", MciVerb::PlayFromStart, "m1", ""},
      {"Status Tune_2 MODE", MciVerb::StatusMode, "tune_2", ""},
      // Paths: quoted with blanks, unquoted, clauses in either order, type left out.
      {"open \"My Music/a b.mid\" type sequencer alias m1", MciVerb::Open, "m1",
       "My Music/a b.mid"},
      {"open dat/a.mid TYPE Sequencer ALIAS Bgm", MciVerb::Open, "bgm", "dat/a.mid"},
      {"open \"x.mid\" alias m1 type sequencer", MciVerb::Open, "m1", "x.mid"},
      {"open x.mid alias m1", MciVerb::Open, "m1", "x.mid"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    const MciCommand c = Parsed(k.text);
    EXPECT_EQ(c.verb, k.verb);
    EXPECT_EQ(c.alias, k.alias);
    EXPECT_EQ(c.path, k.path);
  }
}

TEST(MciParseTest, MalformedAndHostileCommandsAreRefused) {
  using namespace std::string_literals;
  struct Case {
    std::string text;
    int32_t status;
  };
  const std::string longAlias(kMciMaxAliasLength + 1, 'a');
  const Case cases[] = {
      {"", kMciErrBadParameter},
      {" \t ", kMciErrBadParameter},
      {"dance m1", kMciErrUnknownCommand},
      {"\"\" m1", kMciErrUnknownCommand},
      {"open \"a b.mid type sequencer alias m1", kMciErrBadParameter},  // unterminated quote
      {"open \"a\"b alias m1", kMciErrBadParameter},
      {"open a\"b alias m1", kMciErrBadParameter},
      {"open \"\" type sequencer alias m1", kMciErrBadParameter},
      {"open", kMciErrBadParameter},
      {"open a.mid type sequencer", kMciErrBadParameter},  // no alias
      {"open a.mid type sequencer alias", kMciErrBadParameter},
      {"open a.mid alias m1 alias m2", kMciErrBadParameter},
      {"open a.mid alias m1 colour red", kMciErrBadParameter},
      {"open a.wav type waveaudio alias m1", kMciErrUnknownDeviceType},
      {"open a.mid alias m/1", kMciErrBadParameter},
      {"open a.mid alias " + longAlias, kMciErrBadParameter},
      {"play", kMciErrBadParameter},
      {"play m1 from", kMciErrBadParameter},
      {"play m1 from 5", kMciErrBadParameter},
      {"play m1 from -0", kMciErrBadParameter},
      {"play m1 to 0", kMciErrBadParameter},
      {"stop m1 now", kMciErrBadParameter},
      {"seek m1", kMciErrBadParameter},
      {"seek m1 to 10", kMciErrBadParameter},
      {"seek m1 to end", kMciErrBadParameter},
      {"status m1", kMciErrBadParameter},
      {"status m1 length", kMciErrBadParameter},
      {"play m1\0 from 0"s, kMciErrBadParameter},  // an embedded NUL
      {"play m1\r\n", kMciErrBadParameter},
      {"play m\xC3\xA9", kMciErrBadParameter},
      {"a b c d e f g h i", kMciErrBadParameter},  // more words than any command has
      {"play " + std::string(kMciMaxCommandLength, 'x'), kMciErrBadParameter},
      {std::string(1 << 20, '"'), kMciErrBadParameter},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text.substr(0, 60));
    MciCommand c;
    EXPECT_EQ(ParseMciCommand(k.text, c), k.status);
  }
}

TEST(MciParseTest, APathAsLongAsTheSystemAllowsIsAccepted) {
  const std::string path(4096, 'p');
  const MciCommand c = Parsed("open \"" + path + "\" type sequencer alias m1");
  EXPECT_EQ(c.path, path);
}

TEST(MciStatusTest, EveryStatusHasItsOwnText) {
  const int32_t all[] = {kMciErrUnknownCommand,   kMciErrBadParameter,      kMciErrAliasNotOpen,
                         kMciErrAliasAlreadyOpen, kMciErrFileMissing,       kMciErrFileNotPlayable,
                         kMciErrNoAudioDevice,    kMciErrUnknownDeviceType, kMciErrTooManyOpen,
                         kMciErrDeviceFailed,     kMciErrWaveBusy};
  std::set<int32_t> values;
  std::set<std::string_view> texts;
  for (int32_t s : all) {
    EXPECT_NE(s, kMciSuccess);
    values.insert(s);
    texts.insert(MciStatusText(s));
  }
  EXPECT_EQ(values.size(), std::size(all));
  EXPECT_EQ(texts.size(), std::size(all));
  EXPECT_EQ(texts.count("unknown status"), 0u);
  EXPECT_EQ(MciStatusText(kMciErrNoAudioDevice), "no audio device");
  EXPECT_EQ(MciStatusText(-1), "unknown status");
}

// ---- Service over a fake output -------------------------------------------------------------

// One music output shared by all pieces, like a mixer's single music stream: starting a piece cuts
// the one that sounded.
struct FakeOutput {
  std::vector<std::string> log;
  class FakeStream* owner = nullptr;
  bool startWorks = true;
  bool silent = false;  // the output stopped carrying any piece
};

class FakeStream final : public MusicStream {
 public:
  FakeStream(FakeOutput& out, std::string name) : out_(out), name_(std::move(name)) {}
  ~FakeStream() override {
    if (out_.owner == this) out_.owner = nullptr;
    out_.log.push_back("free " + name_);
  }
  bool Start() override {
    out_.log.push_back("start " + name_);
    if (!out_.startWorks) return false;
    out_.owner = this;
    return true;
  }
  void Pause() override { out_.log.push_back("pause " + name_); }
  bool Resume() override {
    out_.log.push_back("resume " + name_);
    return out_.owner == this;
  }
  void Halt() override {
    out_.log.push_back("halt " + name_);
    if (out_.owner == this) out_.owner = nullptr;
  }
  bool Sounding() override { return out_.owner == this && !out_.silent; }

 private:
  FakeOutput& out_;
  std::string name_;
};

class FakeMusicDevice final : public MusicDevice {
 public:
  explicit FakeMusicDevice(FakeOutput& out) : out_(out) {}
  int32_t Open(const std::string& path, std::unique_ptr<MusicStream>& stream,
               int64_t& lengthMs) override {
    out_.log.push_back("open " + path);
    if (openStatus != kMciSuccess) return openStatus;
    stream = std::make_unique<FakeStream>(out_, path);
    lengthMs = this->lengthMs;
    return kMciSuccess;
  }
  int32_t openStatus = kMciSuccess;
  int64_t lengthMs = 500;

 private:
  FakeOutput& out_;
};

class FakeWaveDevice final : public WaveDevice {
 public:
  int32_t Play(const std::string& path, bool loop) override {
    log.push_back("play " + path + (loop ? " loop" : ""));
    if (playStatus == kMciSuccess) playing = true;
    return playStatus;
  }
  void Stop() override {
    log.push_back("stop");
    playing = false;
  }
  bool Playing() override { return playing; }
  void WaitEnd() override {
    log.push_back("wait");
    playing = false;
  }
  std::vector<std::string> log;
  int32_t playStatus = kMciSuccess;
  bool playing = false;
};

class MciServiceTest : public ::testing::Test {
 protected:
  int32_t Send(const std::string& command) { return mci.mciSendStringA(command, nullptr, 0, 0); }
  std::string Mode(const std::string& alias = "m1") {
    char reply[32];
    std::memset(reply, '#', sizeof reply);
    const int32_t status = mci.mciSendStringA("status " + alias + " mode", reply, 32, 0);
    if (status != kMciSuccess) return std::string(MciStatusText(status));
    return reply;
  }
  void OpenAndPlay() {
    ASSERT_EQ(Send("open \"a.mid\" type sequencer alias m1"), kMciSuccess);
    ASSERT_EQ(Send("play m1"), kMciSuccess);
  }

  FakeOutput out;
  FakeMusicDevice music{out};
  FakeWaveDevice waves;
  uint64_t now = 1000;
  MciService mci{music, waves, [this] { return now; }};
};

TEST_F(MciServiceTest, APieceIsStoppedUntilPlayedAndStopsWhenItsLastEventHasPlayed) {
  ASSERT_EQ(Send("open \"a.mid\" type sequencer alias m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "stopped");
  ASSERT_EQ(Send("play m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "playing");
  now += 499;
  EXPECT_EQ(Mode(), "playing");
  now += 1;  // the output may ring on, but the piece is over
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_THAT(out.log, ElementsAre("open a.mid", "start a.mid"));
}

TEST_F(MciServiceTest, PlayAtTheEndLeavesThePieceStoppedAndPlayFromZeroRestartsIt) {
  OpenAndPlay();
  now += 600;
  EXPECT_EQ(Send("play m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_EQ(Send("play m1 from 0"), kMciSuccess);
  EXPECT_EQ(Mode(), "playing");
  now += 499;
  EXPECT_EQ(Mode(), "playing");
  // From 0 also restarts a piece in the middle.
  EXPECT_EQ(Send("play m1 from 0"), kMciSuccess);
  now += 499;
  EXPECT_EQ(Mode(), "playing");
  now += 1;
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_THAT(out.log, ElementsAre("open a.mid", "start a.mid", "start a.mid", "start a.mid"));
}

TEST_F(MciServiceTest, StopKeepsThePositionForTheNextPlay) {
  OpenAndPlay();
  now += 200;
  EXPECT_EQ(Send("stop m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "stopped");
  now += 5000;  // stopped time does not count
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_EQ(Send("play m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "playing");
  now += 299;
  EXPECT_EQ(Mode(), "playing");
  now += 1;
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_THAT(out.log, ElementsAre("open a.mid", "start a.mid", "pause a.mid", "resume a.mid"));
}

TEST_F(MciServiceTest, PauseAndResumeShiftTheEndByThePause) {
  OpenAndPlay();
  EXPECT_EQ(Send("resume m1"), kMciSuccess);  // not paused: nothing
  now += 100;
  EXPECT_EQ(Send("pause m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "paused");
  EXPECT_EQ(Send("pause m1"), kMciSuccess);  // already paused: nothing
  now += 300;
  EXPECT_EQ(Mode(), "paused");
  EXPECT_EQ(Send("resume m1"), kMciSuccess);
  now += 399;
  EXPECT_EQ(Mode(), "playing");
  now += 1;
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_THAT(out.log, ElementsAre("open a.mid", "start a.mid", "pause a.mid", "resume a.mid"));
}

TEST_F(MciServiceTest, PauseOrResumeOfAStoppedPieceChangesNothing) {
  ASSERT_EQ(Send("open a.mid alias m1"), kMciSuccess);
  EXPECT_EQ(Send("pause m1"), kMciSuccess);
  EXPECT_EQ(Send("resume m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_THAT(out.log, ElementsAre("open a.mid"));
}

TEST_F(MciServiceTest, SeekToZeroStopsAtTheStartWhereTheNextPlayBegins) {
  OpenAndPlay();
  now += 300;
  EXPECT_EQ(Send("seek m1 to 0"), kMciSuccess);
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_EQ(Send("play m1"), kMciSuccess);
  now += 499;
  EXPECT_EQ(Mode(), "playing");
  now += 1;
  EXPECT_EQ(Mode(), "stopped");
  // Seeking an ended piece makes it playable again with a plain play.
  EXPECT_EQ(Send("seek m1 to 0"), kMciSuccess);
  EXPECT_EQ(Send("play m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "playing");
  EXPECT_THAT(out.log, ElementsAre("open a.mid", "start a.mid", "halt a.mid", "start a.mid",
                                   "halt a.mid", "start a.mid"));
}

TEST_F(MciServiceTest, StopAtTheEndSilencesWhatStillRings) {
  OpenAndPlay();
  now += 500;
  EXPECT_EQ(Send("stop m1"), kMciSuccess);
  EXPECT_EQ(Send("stop m1"), kMciSuccess);
  EXPECT_EQ(out.owner, nullptr);
  EXPECT_THAT(out.log, ElementsAre("open a.mid", "start a.mid", "halt a.mid"));
}

TEST_F(MciServiceTest, CloseFreesThePieceAndTheAlias) {
  OpenAndPlay();
  EXPECT_EQ(mci.OpenAliases(), 1u);
  EXPECT_EQ(Send("close m1"), kMciSuccess);
  EXPECT_EQ(mci.OpenAliases(), 0u);
  EXPECT_EQ(out.owner, nullptr);
  EXPECT_EQ(Mode(), "alias not open");
  EXPECT_EQ(Send("close m1"), kMciErrAliasNotOpen);
  EXPECT_EQ(Send("open \"b.mid\" type sequencer alias m1"), kMciSuccess);
  EXPECT_THAT(out.log, ElementsAre("open a.mid", "start a.mid", "free a.mid", "open b.mid"));
}

TEST_F(MciServiceTest, CommandsOnAnAliasThatIsNotOpenAnswerAliasNotOpenAndWriteNothing) {
  ASSERT_EQ(Send("open a.mid alias other"), kMciSuccess);
  for (const char* c : {"play m1", "play m1 from 0", "stop m1", "close m1", "pause m1", "resume m1",
                        "seek m1 to 0", "status m1 mode"}) {
    SCOPED_TRACE(c);
    char reply[8] = "keep";
    EXPECT_EQ(mci.mciSendStringA(c, reply, sizeof reply, 0), kMciErrAliasNotOpen);
    EXPECT_STREQ(reply, "keep");
  }
  EXPECT_THAT(out.log, ElementsAre("open a.mid"));
}

TEST_F(MciServiceTest, OpenRefusesAnAliasInUseInAnyCaseAndPassesDeviceFailuresOn) {
  ASSERT_EQ(Send("open a.mid alias m1"), kMciSuccess);
  EXPECT_EQ(Send("open b.mid alias M1"), kMciErrAliasAlreadyOpen);
  for (int32_t status : {kMciErrFileMissing, kMciErrFileNotPlayable, kMciErrNoAudioDevice}) {
    music.openStatus = status;
    EXPECT_EQ(Send("open c.mid alias m2"), status);
    EXPECT_EQ(Mode("m2"), "alias not open");
  }
  EXPECT_EQ(mci.OpenAliases(), 1u);
}

TEST_F(MciServiceTest, TheNumberOfOpenAliasesIsCapped) {
  for (size_t i = 0; i < kMciMaxOpenAliases; ++i) {
    ASSERT_EQ(Send("open a.mid alias a" + std::to_string(i)), kMciSuccess);
  }
  EXPECT_EQ(Send("open a.mid alias one-more"), kMciErrTooManyOpen);
}

TEST_F(MciServiceTest, APieceCutByAnotherOneCountsAsEnded) {
  ASSERT_EQ(Send("open a.mid alias a"), kMciSuccess);
  ASSERT_EQ(Send("open b.mid alias b"), kMciSuccess);
  ASSERT_EQ(Send("play a"), kMciSuccess);
  now += 100;
  ASSERT_EQ(Send("play b"), kMciSuccess);
  EXPECT_EQ(Mode("a"), "stopped");
  EXPECT_EQ(Mode("b"), "playing");
  EXPECT_EQ(Send("play a"), kMciSuccess);
  EXPECT_EQ(Mode("a"), "stopped");
  EXPECT_EQ(Send("play a from 0"), kMciSuccess);
  EXPECT_EQ(Mode("a"), "playing");
  EXPECT_EQ(Mode("b"), "stopped");
}

TEST_F(MciServiceTest, AStoppedPieceWhoseOutputWasTakenStartsAgainFromItsBeginning) {
  ASSERT_EQ(Send("open a.mid alias a"), kMciSuccess);
  ASSERT_EQ(Send("open b.mid alias b"), kMciSuccess);
  ASSERT_EQ(Send("play a"), kMciSuccess);
  now += 300;
  ASSERT_EQ(Send("stop a"), kMciSuccess);
  ASSERT_EQ(Send("play b"), kMciSuccess);
  ASSERT_EQ(Send("play a"), kMciSuccess);  // the held position is gone
  now += 499;
  EXPECT_EQ(Mode("a"), "playing");
  now += 1;
  EXPECT_EQ(Mode("a"), "stopped");
}

TEST_F(MciServiceTest, APieceOfUnknownLengthEndsWhenTheOutputStopsCarryingIt) {
  music.lengthMs = -1;
  OpenAndPlay();
  now += 100000;
  EXPECT_EQ(Mode(), "playing");
  out.silent = true;
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_EQ(Send("play m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "stopped");
}

TEST_F(MciServiceTest, AStartTheOutputRefusesLeavesThePieceStopped) {
  ASSERT_EQ(Send("open a.mid alias m1"), kMciSuccess);
  out.startWorks = false;
  EXPECT_EQ(Send("play m1"), kMciErrDeviceFailed);
  EXPECT_EQ(Mode(), "stopped");
  out.startWorks = true;
  EXPECT_EQ(Send("play m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "playing");
}

TEST_F(MciServiceTest, RepliesAreCutToTheCapacityAndLeaveTheRestOfTheBuffer) {
  OpenAndPlay();
  char buffer[16];
  std::memcpy(buffer, "xxxxxxxxxxxxxxx", 16);
  EXPECT_EQ(mci.mciSendStringA("status m1 mode", buffer, 4, 0), kMciSuccess);
  EXPECT_EQ(std::memcmp(buffer, "pla\0xxxxxxxxxxx", 16), 0);
  EXPECT_EQ(mci.mciSendStringA("status m1 mode", buffer, 1, 0), kMciSuccess);
  EXPECT_EQ(std::memcmp(buffer, "\0la\0xxxxxxxxxxx", 16), 0);
  std::memcpy(buffer, "xxxxxxxxxxxxxxx", 16);
  EXPECT_EQ(mci.mciSendStringA("status m1 mode", buffer, 0, 0), kMciSuccess);
  EXPECT_EQ(mci.mciSendStringA("status m1 mode", nullptr, 255, 0), kMciSuccess);
  EXPECT_EQ(std::memcmp(buffer, "xxxxxxxxxxxxxxx", 16), 0);
  EXPECT_EQ(mci.mciSendStringA("status m1 mode", buffer, 255, 0), kMciSuccess);
  EXPECT_EQ(std::memcmp(buffer, "playing\0xxxxxxx", 16), 0);
  // Other commands that succeed answer with the empty text; a failure leaves the buffer alone.
  EXPECT_EQ(mci.mciSendStringA("pause m1", buffer, 255, 0), kMciSuccess);
  EXPECT_EQ(std::memcmp(buffer, "\0laying\0xxxxxxx", 16), 0);
  std::memcpy(buffer, "xxxxxxxxxxxxxxx", 16);
  EXPECT_EQ(mci.mciSendStringA("pause nothere", buffer, 255, 0), kMciErrAliasNotOpen);
  EXPECT_EQ(std::memcmp(buffer, "xxxxxxxxxxxxxxx", 16), 0);
  // "open" answers with the number of the device it opened, counting from 1.
  EXPECT_EQ(mci.mciSendStringA("open \"b.mid\" type sequencer alias m2", buffer, 255, 0),
            kMciSuccess);
  EXPECT_STREQ(buffer, "2");
}

TEST_F(MciServiceTest, WaveCalls) {
  // The empty name stops any wave, whatever the flags.
  EXPECT_TRUE(mci.sndPlaySoundA("", SND_ASYNC | SND_NODEFAULT));
  EXPECT_TRUE(mci.sndPlaySoundA("a.wav", SND_ASYNC | SND_NODEFAULT));
  EXPECT_TRUE(waves.playing);
  // SND_NOSTOP leaves a playing wave alone; without it a new wave replaces it.
  EXPECT_FALSE(mci.sndPlaySoundA("b.wav", SND_ASYNC | SND_NOSTOP));
  EXPECT_EQ(mci.LastWaveStatus(), kMciErrWaveBusy);
  EXPECT_TRUE(mci.sndPlaySoundA("c.wav", SND_ASYNC | SND_LOOP));
  // A loop that would never return is refused; a synchronous wave waits for its end.
  EXPECT_FALSE(mci.sndPlaySoundA("d.wav", SND_SYNC | SND_LOOP));
  EXPECT_EQ(mci.LastWaveStatus(), kMciErrBadParameter);
  EXPECT_TRUE(mci.sndPlaySoundA("e.wav", SND_SYNC));
  EXPECT_TRUE(mci.sndPlaySoundA("f.wav", SND_ASYNC | SND_NOSTOP));  // nothing plays now
  waves.playStatus = kMciErrNoAudioDevice;
  EXPECT_FALSE(mci.sndPlaySoundA("g.wav", SND_ASYNC));
  EXPECT_EQ(mci.LastWaveStatus(), kMciErrNoAudioDevice);
  EXPECT_THAT(waves.log, ElementsAre("stop", "play a.wav", "play c.wav loop", "play e.wav", "wait",
                                     "play f.wav", "play g.wav"));
  EXPECT_THAT(out.log, IsEmpty());
}

}  // namespace
}  // namespace ombrevale
