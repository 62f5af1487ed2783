#include "sound/SoundAPI.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "backends/headless/RecordingMedia.h"

namespace ombrevale {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kWaveStop[] = "sndPlaySoundA(\"\", 3)";

class SoundAPITest : public ::testing::Test {
 protected:
  // The channel as a player leaves it: open and in use.
  void OpenChannel(uint8_t loop) {
    sound.MusicPlaying = 1;
    sound.MusicLoop = loop;
  }
  void AnswerMode(const char* mode, int32_t status = 0) {
    media.Script("status m1 mode", status, mode);
  }

  RecordingMedia media;
  SoundAPI sound{media};
};

TEST_F(SoundAPITest, StopAllSoundStopsAndClosesMusicThenStopsWavesAndClearsState) {
  sound.MusicPlaying = 1;
  sound.MusicLoop = 1;
  sound.WaveName = "dat/a.wav";
  sound.WavePlaying = 1;
  sound.StopAllSound();
  EXPECT_THAT(media.Log(), ElementsAre("stop m1", "close m1", kWaveStop));
  for (const auto& call : media.Calls()) {
    if (call.wave) continue;
    EXPECT_FALSE(call.replyGiven);
    EXPECT_EQ(call.capacity, 0u);
    EXPECT_EQ(call.callback, 0u);
  }
  EXPECT_EQ(sound.MusicPlaying, 0);
  EXPECT_EQ(sound.MusicLoop, 0);
  EXPECT_EQ(sound.WaveName, "");
  EXPECT_EQ(sound.WavePlaying, 0);
}

TEST_F(SoundAPITest, StopAllSoundOnAClosedChannelSendsTheSameAndKeepsTheCloseStatus) {
  media.Script("stop m1", 263);
  media.Script("close m1", 264);
  sound.StopAllSound();
  EXPECT_THAT(media.Log(), ElementsAre("stop m1", "close m1", kWaveStop));
  EXPECT_EQ(sound.MciResult, 264);
}

TEST_F(SoundAPITest, PollSendsNothingWhileTheChannelIsClosed) {
  AnswerMode("stopped");
  for (int i = 0; i < 5; ++i) sound.PollMusic();
  EXPECT_THAT(media.Log(), IsEmpty());
}

TEST_F(SoundAPITest, PollAsksForTheModeWithTheStatusBufferAndCapacity255) {
  OpenChannel(0);
  AnswerMode("playing", 7);
  sound.PollMusic();
  ASSERT_EQ(media.Calls().size(), 1u);
  const auto& call = media.Calls()[0];
  EXPECT_EQ(call.text, "status m1 mode");
  EXPECT_TRUE(call.replyGiven);
  EXPECT_EQ(call.capacity, 255u);
  EXPECT_EQ(call.callback, 0u);
  EXPECT_EQ(sound.MciResult, 7);
}

TEST_F(SoundAPITest, ModesOtherThanStoppedChangeNothing) {
  for (const char* mode : {"playing", "paused", "seeking", "not ready", "Stopped", "stoppe", ""}) {
    SCOPED_TRACE(mode);
    media.Clear();
    sound.MusicStatus.fill('\0');
    OpenChannel(0);
    AnswerMode(mode);
    sound.PollMusic();
    EXPECT_THAT(media.Log(), ElementsAre("status m1 mode"));
    EXPECT_EQ(sound.MusicPlaying, 1);
  }
}

TEST_F(SoundAPITest, AnEndedPieceIsClosedUnlessItsLoopFlagIsExactlyOne) {
  for (uint8_t loop : {0, 2, 255}) {
    SCOPED_TRACE(static_cast<int>(loop));
    media.Clear();
    OpenChannel(loop);
    AnswerMode("stopped");
    sound.PollMusic();
    EXPECT_THAT(media.Log(), ElementsAre("status m1 mode", "stop m1", "close m1"));
    EXPECT_EQ(sound.MusicPlaying, 0);
    EXPECT_EQ(sound.MusicLoop, 0);
    sound.PollMusic();  // closed: the polling has ended
    EXPECT_EQ(media.Calls().size(), 3u);
  }
}

TEST_F(SoundAPITest, ALoopingPieceRestartsOncePerEndAndStaysOpen) {
  OpenChannel(1);
  AnswerMode("stopped");              // the end
  AnswerMode("playing");              // playing again from then on
  media.Script("play m1 from 0", 9);  // even a failing restart keeps the channel open
  for (int i = 0; i < 4; ++i) sound.PollMusic();
  EXPECT_THAT(media.Log(), ElementsAre("status m1 mode", "play m1 from 0", "status m1 mode",
                                       "status m1 mode", "status m1 mode"));
  EXPECT_EQ(sound.MusicPlaying, 1);
  EXPECT_EQ(sound.MusicLoop, 1);
  EXPECT_EQ(sound.MciResult, 0);  // of the last mode query
}

TEST_F(SoundAPITest, AShortReplyLeavesTheTailOfALongerOne) {
  OpenChannel(1);
  std::memcpy(sound.MusicStatus.data(), "xxxxxxxxxxxx", 12);
  AnswerMode("stopped");
  AnswerMode("stop");
  sound.PollMusic();
  EXPECT_EQ(std::memcmp(sound.MusicStatus.data(), "stopped\0xxxx", 12), 0);
  // "stop" and its NUL over "stopped" leave "stop\0ed": not the stopped mode.
  sound.PollMusic();
  EXPECT_EQ(std::memcmp(sound.MusicStatus.data(), "stop\0ed\0xxxx", 12), 0);
  EXPECT_THAT(media.Log(), ElementsAre("status m1 mode", "play m1 from 0", "status m1 mode"));
}

TEST_F(SoundAPITest, AStaleStoppedInTheBufferEndsThePieceWhenTheQueryWritesNothing) {
  // The comparison is made whatever the query returned, on whatever the buffer holds.
  OpenChannel(0);
  std::memcpy(sound.MusicStatus.data(), "stopped", 7);
  media.Script("status m1 mode", 303);
  sound.PollMusic();
  EXPECT_THAT(media.Log(), ElementsAre("status m1 mode", "stop m1", "close m1"));
}

TEST_F(SoundAPITest, PlayMusicFlagsTheChannelOnlyWhenOpenAndPlaySucceed) {
  EXPECT_EQ(sound.PlayMusic("dat/a b.mid", true), 0);
  EXPECT_THAT(media.Log(), ElementsAre("open \"dat/a b.mid\" type sequencer alias m1", "play m1"));
  EXPECT_EQ(sound.MusicPlaying, 1);
  EXPECT_EQ(sound.MusicLoop, 1);

  // A new piece replaces the one on the channel.
  media.Clear();
  EXPECT_EQ(sound.PlayMusic("b.mid", false), 0);
  EXPECT_THAT(media.Log(), ElementsAre("stop m1", "close m1",
                                       "open \"b.mid\" type sequencer alias m1", "play m1"));
  EXPECT_EQ(sound.MusicLoop, 0);
}

TEST_F(SoundAPITest, AFailedOpenLeavesTheChannelClosed) {
  media.Script("open \"none.mid\" type sequencer alias m1", 305);
  EXPECT_EQ(sound.PlayMusic("none.mid", true), 305);
  EXPECT_THAT(media.Log(), ElementsAre("open \"none.mid\" type sequencer alias m1"));
  EXPECT_EQ(sound.MciResult, 305);
  EXPECT_EQ(sound.MusicPlaying, 0);
  EXPECT_EQ(sound.MusicLoop, 0);
}

TEST_F(SoundAPITest, AFailedPlayClosesTheChannelAgainAndKeepsThePlayStatus) {
  media.Script("play m1", 310);
  EXPECT_EQ(sound.PlayMusic("a.mid", true), 310);
  EXPECT_THAT(media.Log(),
              ElementsAre("open \"a.mid\" type sequencer alias m1", "play m1", "close m1"));
  EXPECT_EQ(sound.MciResult, 310);
  EXPECT_EQ(sound.MusicPlaying, 0);
  EXPECT_EQ(sound.MusicLoop, 0);
}

TEST_F(SoundAPITest, PlayWaveSetsTheWaveStateOnlyOnSuccess) {
  EXPECT_TRUE(sound.PlayWave("dat/ping.wav"));
  EXPECT_THAT(media.Log(), ElementsAre("sndPlaySoundA(\"dat/ping.wav\", 3)"));
  EXPECT_EQ(sound.WaveName, "dat/ping.wav");
  EXPECT_EQ(sound.WavePlaying, 1);

  sound.StopWave();
  media.waveResult = false;
  EXPECT_FALSE(sound.PlayWave("dat/none.wav"));
  EXPECT_EQ(sound.WaveName, "");
  EXPECT_EQ(sound.WavePlaying, 0);

  media.Clear();
  EXPECT_FALSE(sound.PlayWave(""));  // the empty name would be a stop request
  EXPECT_THAT(media.Log(), IsEmpty());
}

}  // namespace
}  // namespace ombrevale
