#include "backends/sdl/sound/SdlMedia.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "platform/mci/Mci.h"
#include "sound/SoundAPI.h"
#include "tests/backends/sdl/SoundFiles.h"
#include "tests/platform/files/FifoSwap.h"
#include "tests/platform/midi/SmfFiles.h"

// The real mixer under SDL's dummy audio driver, which plays in real time. Each test writes its
// own tiny MIDI piece and wave into a temporary folder.

namespace ombrevale {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kPieceMs = 500;  // the piece's last event: a note off after half a second

long Since(Clock::time_point t0) {
  return static_cast<long>(std::chrono::duration_cast<milliseconds>(Clock::now() - t0).count());
}

void Sleep(int ms) {
  std::this_thread::sleep_for(milliseconds(ms));
}

class SdlMediaTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { setenv("SDL_AUDIODRIVER", "dummy", 1); }

  void TearDown() override { media.reset(); }

  int32_t Send(const std::string& command) { return media->mciSendStringA(command, nullptr, 0, 0); }
  std::string Mode() {
    char reply[64] = {};
    const int32_t status = media->mciSendStringA("status m1 mode", reply, sizeof reply, 0);
    return status == kMciSuccess ? reply : std::string(MciStatusText(status));
  }
  // Opens the piece under m1; a synthesiser that cannot load says why.
  void OpenPiece() {
    const int32_t status = Send("open \"" + piece + "\" type sequencer alias m1");
    ASSERT_EQ(status, kMciSuccess)
        << MciStatusText(status) << ": " << media->LastError()
        << "\nThe MIDI synthesiser (FluidSynth) needs a General MIDI soundfont: "
           "apt-get install timgm6mb-soundfont";
  }
  // Polls the mode every 5 ms until it is no longer `mode`; the time it took from `t0`.
  long WaitWhile(const std::string& mode, Clock::time_point t0, int limitMs = 3000) {
    while (Mode() == mode && Since(t0) < limitMs) Sleep(5);
    return Since(t0);
  }

  SoundFolder files{"ombrevale_sdlmedia"};
  const std::filesystem::path& dir = files.dir;
  const std::string &piece = files.piece, &wave = files.wave;
  std::unique_ptr<SdlMedia> media = std::make_unique<SdlMedia>();
};

TEST_F(SdlMediaTest, NothingOpensTheOutputUntilAPieceOrAWaveNeedsIt) {
  SoundAPI sound(*media);
  sound.StopAllSound();
  sound.PollMusic();
  EXPECT_FALSE(media->AudioOpen());
  EXPECT_EQ(Send("open \"" + (dir / "none.mid").string() + "\" type sequencer alias m1"),
            kMciErrFileMissing);
  EXPECT_EQ(Send("open \"" + wave + "\" type sequencer alias m1"), kMciErrFileNotPlayable);
  EXPECT_FALSE(media->sndPlaySoundA((dir / "none.wav").string(), SND_ASYNC));
  EXPECT_FALSE(media->AudioOpen());
  OpenPiece();
  EXPECT_TRUE(media->AudioOpen());
}

TEST_F(SdlMediaTest, WithoutAnAudioDeviceOpenAndWavesAnswerNoAudioDevice) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  const int32_t open = Send("open \"" + piece + "\" type sequencer alias m1");
  const bool waved = media->sndPlaySoundA(wave, SND_ASYNC);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  EXPECT_EQ(open, kMciErrNoAudioDevice);
  EXPECT_FALSE(waved);
  EXPECT_EQ(media->LastWaveStatus(), kMciErrNoAudioDevice);
  EXPECT_EQ(Send("stop m1"), kMciErrAliasNotOpen);
  EXPECT_FALSE(media->AudioOpen());
}

TEST_F(SdlMediaTest, ThePieceIsStoppedWithin250MsOfItsLastNote) {
  OpenPiece();
  const auto t0 = Clock::now();
  ASSERT_EQ(Send("play m1"), kMciSuccess);
  EXPECT_EQ(Mix_PlayingMusic(), 1);
  EXPECT_EQ(Mode(), "playing");
  const long end = WaitWhile("playing", t0);
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_GE(end, kPieceMs - 20);
  EXPECT_LE(end, kPieceMs + 250);
}

TEST_F(SdlMediaTest, PauseAndResumeShiftTheEndByThePause) {
  OpenPiece();
  const auto t0 = Clock::now();
  ASSERT_EQ(Send("play m1"), kMciSuccess);
  Sleep(200);
  ASSERT_EQ(Send("pause m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "paused");
  EXPECT_EQ(Mix_PausedMusic(), 1);
  Sleep(300);
  EXPECT_EQ(Mode(), "paused");
  ASSERT_EQ(Send("resume m1"), kMciSuccess);
  EXPECT_EQ(Mix_PausedMusic(), 0);
  const long end = WaitWhile("playing", t0);
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_GE(end, kPieceMs + 300 - 20);
  EXPECT_LE(end, kPieceMs + 300 + 250);
}

TEST_F(SdlMediaTest, EveryCommandOfTheVocabularyOnTheMixer) {
  OpenPiece();
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_EQ(Send("open \"" + piece + "\" type sequencer alias M1"), kMciErrAliasAlreadyOpen);
  EXPECT_EQ(Send("play m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "playing");
  EXPECT_EQ(Send("pause m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "paused");
  EXPECT_EQ(Send("resume m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "playing");
  // Stop holds the piece in the mixer: the next play continues it.
  EXPECT_EQ(Send("stop m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_EQ(Mix_PlayingMusic(), 1);
  EXPECT_EQ(Mix_PausedMusic(), 1);
  EXPECT_EQ(Send("play m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "playing");
  EXPECT_EQ(Mix_PausedMusic(), 0);
  // Seek to the start stops it there; play begins it afresh, and so does play from 0.
  EXPECT_EQ(Send("seek m1 to 0"), kMciSuccess);
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_EQ(Mix_PlayingMusic(), 0);
  EXPECT_EQ(Send("play m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "playing");
  EXPECT_EQ(Mix_PlayingMusic(), 1);
  Sleep(300);
  const auto t0 = Clock::now();
  EXPECT_EQ(Send("play m1 from 0"), kMciSuccess);
  EXPECT_EQ(Mode(), "playing");
  EXPECT_GE(WaitWhile("playing", t0), kPieceMs - 20);
  // At its end the piece stays stopped on play, though the synthesiser still rings.
  EXPECT_EQ(Send("play m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "stopped");
  EXPECT_EQ(Send("close m1"), kMciSuccess);
  EXPECT_EQ(Mix_PlayingMusic(), 0);
  EXPECT_EQ(Mode(), "alias not open");
}

// What the process writes on stderr from its making to Take(), kept from the terminal.
class StderrKept {
 public:
  StderrKept() : file_(std::tmpfile()), saved_(dup(STDERR_FILENO)) {
    std::fflush(stderr);
    dup2(fileno(file_), STDERR_FILENO);
  }
  ~StderrKept() { Take(); }
  std::string Take() {
    if (saved_ < 0) return {};
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    saved_ = -1;
    std::string text;
    std::rewind(file_);
    for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
    std::fclose(file_);
    return text;
  }

 private:
  std::FILE* file_;
  int saved_;
};

// The mixer's output as it goes to the device: its loudest sample, and when (on the test's clock)
// it first gave a sample louder than kHeard.
struct Output {
  static constexpr int kHeard = 500;
  std::atomic<int> loudest{0};
  std::atomic<long> firstHeardMs{-1};
  Clock::time_point t0 = Clock::now();

  static void Mixed(void* self, Uint8* stream, int length) {
    auto& out = *static_cast<Output*>(self);
    const auto* samples = reinterpret_cast<const Sint16*>(stream);
    int loudest = 0;
    for (int i = 0; i < length / 2; ++i) loudest = std::max(loudest, std::abs(int{samples[i]}));
    if (loudest > out.loudest) out.loudest = loudest;
    if (loudest > kHeard && out.firstHeardMs < 0) out.firstHeardMs = Since(out.t0);
  }
};

// Files the reader accepts and FluidSynth refuses, or plays otherwise: each sounds a note from
// 400 ms to its end at 500 ms, the note's start being what a synthesiser that misreads the file
// loses or misplaces.
std::vector<std::pair<std::string, std::vector<uint8_t>>> OddPieces() {
  const auto note = [](uint32_t ticksPerSecond) {
    const uint32_t at = ticksPerSecond * 4 / 10, length = ticksPerSecond / 10;
    return Track().At(0, {0xC0, 0}).At(at, {0x90, 60, 100}).At(length, {0x80, 60, 0}).End(0);
  };
  Track smpte = note(1000);  // 25 frames of 40 ticks; its tempo event counts not
  smpte.body.insert(smpte.body.begin(), {0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90});
  Bytes longHeader = File(0, 480, {note(960)});
  longHeader.insert(longHeader.begin() + 14, {0, 0, 0});
  longHeader[7] = 9;
  Track running;  // the note's start runs on the status of a silent note, after a meta event
  running.At(0, {0x90, 61, 0}).At(384, {0xFF, 0x01, 0x01, 'a'}).At(0, {60, 100});
  running.At(96, {0x80, 60, 0}).End(0);
  Track escape = note(960);
  escape.body.insert(escape.body.begin(), {0x00, 0xF7, 0x01, 0xFE});
  Bytes otherChunk = File(0, 480, {note(960)});
  const Bytes chunk = Chunk("XFIH", Bytes(3, '?'));
  otherChunk.insert(otherChunk.begin() + 14, chunk.begin(), chunk.end());
  return {{"smpte.mid", File(0, 0xE728, {smpte})},
          {"long header.mid", longHeader},
          {"running status.mid", File(0, 480, {running})},
          {"escape.mid", File(1, 480, {escape})},
          {"other chunk.mid", otherChunk}};
}

TEST_F(SdlMediaTest, FilesTheSynthesiserWouldRefuseSoundForTheirLengthWithoutItsWords) {
  for (const auto& [name, bytes] : OddPieces()) {
    SCOPED_TRACE(name);
    WriteFile(dir / name, bytes);
    StderrKept kept;
    ASSERT_EQ(Send("open \"" + (dir / name).string() + "\" alias m1"), kMciSuccess)
        << media->LastError();
    Output out;
    Mix_SetPostMix(&Output::Mixed, &out);
    out.t0 = Clock::now();
    ASSERT_EQ(Send("play m1"), kMciSuccess);
    EXPECT_EQ(Mode(), "playing");
    const long end = WaitWhile("playing", out.t0);
    EXPECT_EQ(Mode(), "stopped");
    EXPECT_GE(end, kPieceMs - 20);
    EXPECT_LE(end, kPieceMs + 250);
    // The output runs a buffer or two ahead of the clock, never 100 ms.
    for (int i = 0; i < 100 && out.firstHeardMs < 0; ++i) Sleep(10);
    EXPECT_GT(out.loudest, Output::kHeard);
    EXPECT_GE(out.firstHeardMs, 300);
    EXPECT_EQ(Send("close m1"), kMciSuccess);
    Mix_SetPostMix(nullptr, nullptr);
    EXPECT_EQ(kept.Take(), "");
  }
}

// Counts the restarts that SoundAPI sends through to the real layer.
class CountingMedia final : public Media {
 public:
  explicit CountingMedia(Media& inner) : inner_(inner) {}
  int32_t mciSendStringA(std::string_view command, char* reply, uint32_t capacity,
                         uintptr_t callback) override {
    if (command == "play m1 from 0") ++restarts;
    return inner_.mciSendStringA(command, reply, capacity, callback);
  }
  bool sndPlaySoundA(std::string_view name, uint32_t flags) override {
    return inner_.sndPlaySoundA(name, flags);
  }
  int restarts = 0;

 private:
  Media& inner_;
};

TEST_F(SdlMediaTest, PollMusicRestartsALoopingPieceAndClosesAOneShotOne) {
  CountingMedia counting(*media);
  SoundAPI sound(counting);
  ASSERT_EQ(sound.PlayMusic(piece, true), kMciSuccess) << media->LastError();
  // Polled every 200 ms, a 500 ms piece ends at 500 and restarts at the 600 ms poll, ends again
  // at 1100 and restarts at 1200.
  for (int t = 200; t <= 1400; t += 200) {
    Sleep(200);
    sound.PollMusic();
  }
  EXPECT_EQ(counting.restarts, 2);
  EXPECT_EQ(sound.MusicPlaying, 1);
  EXPECT_EQ(Mode(), "playing");
  sound.StopAllSound();
  EXPECT_EQ(Mix_PlayingMusic(), 0);

  ASSERT_EQ(sound.PlayMusic(piece, false), kMciSuccess);
  const auto t0 = Clock::now();
  while (sound.MusicPlaying != 0 && Since(t0) < 2000) {
    Sleep(200);
    sound.PollMusic();
  }
  EXPECT_EQ(sound.MusicPlaying, 0);
  EXPECT_LE(Since(t0), kPieceMs + 200 + 150);
  EXPECT_EQ(Mode(), "alias not open");
  EXPECT_EQ(Mix_PlayingMusic(), 0);  // the close cut the synthesiser's tail
}

TEST_F(SdlMediaTest, WavesPlayOnTheirChannelAndStop) {
  SoundAPI sound(*media);
  ASSERT_TRUE(sound.PlayWave(wave))
      << MciStatusText(media->LastWaveStatus()) << ": " << media->LastError();
  EXPECT_EQ(Mix_Playing(SdlMedia::kWaveChannel), 1);
  sound.StopWave();
  EXPECT_EQ(Mix_Playing(SdlMedia::kWaveChannel), 0);

  // A wave ends by itself; a synchronous one returns at its end; a loop plays until stopped.
  const auto t0 = Clock::now();
  ASSERT_TRUE(media->sndPlaySoundA(wave, SND_ASYNC));
  while (Mix_Playing(SdlMedia::kWaveChannel) != 0 && Since(t0) < 2000) Sleep(5);
  EXPECT_GE(Since(t0), 250);
  EXPECT_LE(Since(t0), 500);
  const auto t1 = Clock::now();
  ASSERT_TRUE(media->sndPlaySoundA(wave, SND_SYNC));
  EXPECT_GE(Since(t1), 250);
  EXPECT_EQ(Mix_Playing(SdlMedia::kWaveChannel), 0);
  ASSERT_TRUE(media->sndPlaySoundA(wave, SND_ASYNC | SND_LOOP));
  EXPECT_FALSE(media->sndPlaySoundA(wave, SND_ASYNC | SND_NOSTOP));
  Sleep(400);
  EXPECT_EQ(Mix_Playing(SdlMedia::kWaveChannel), 1);
  EXPECT_TRUE(media->sndPlaySoundA("", SND_ASYNC | SND_NODEFAULT));
  EXPECT_EQ(Mix_Playing(SdlMedia::kWaveChannel), 0);
}

// Another program swaps a piece or a wave for a FIFO and back while the program opens it: each open
// reads the whole file or refuses the FIFO as a file it cannot read, and none waits in the FIFO's
// open, which would hold the window's thread for good.
TEST_F(SdlMediaTest, AFifoSwappedInForAPieceOrAWaveNeverHoldsTheProgram) {
  const auto cannotRead = [](const std::string& path) {
    return std::string(MciStatusText(kMciErrFileNotPlayable)) + ": cannot read " + path;
  };
  // A piece is read and measured before the output is wanted: without the mixer, a whole piece
  // answers "no audio device".
  SdlMedia silent("no-such-mixer.so");
  std::filesystem::create_directories(dir / "pieces");
  const std::string swappedPiece = (dir / "pieces" / "swapped.mid").string();
  const SwappedReads pieces = ReadWhileSwapped(
      (dir / "pieces").string(), swappedPiece, piece, 1000,
      [&] {
        const int32_t status = silent.mciSendStringA(
            "open \"" + swappedPiece + "\" type sequencer alias m1", nullptr, 0, 0);
        if (status == kMciErrNoAudioDevice) return std::string();
        return std::string(MciStatusText(status)) + ": " + silent.LastError();
      },
      cannotRead(swappedPiece));
  EXPECT_GT(pieces.whole, 0);
  EXPECT_GT(pieces.refused, 0);
  EXPECT_TRUE(pieces.otherwise.empty())
      << pieces.otherwise.size()
      << " opens failed otherwise, the first: " << pieces.otherwise.front();

  // A wave is read when it is played, on the dummy output.
  std::filesystem::create_directories(dir / "waves");
  const std::string swappedWave = (dir / "waves" / "swapped.wav").string();
  const std::string blip = (dir / "waves" / "blip.wav").string();
  WriteFile(blip, ToneWave(10));
  const SwappedReads waves = ReadWhileSwapped(
      (dir / "waves").string(), swappedWave, blip, 300,
      [&] {
        if (media->sndPlaySoundA(swappedWave, SND_ASYNC)) return std::string();
        return std::string(MciStatusText(media->LastWaveStatus())) + ": " + media->LastError();
      },
      cannotRead(swappedWave));
  EXPECT_GT(waves.whole, 0);
  EXPECT_GT(waves.refused, 0);
  EXPECT_TRUE(waves.otherwise.empty())
      << waves.otherwise.size()
      << " plays failed otherwise, the first: " << waves.otherwise.front();
}

}  // namespace
}  // namespace ombrevale
