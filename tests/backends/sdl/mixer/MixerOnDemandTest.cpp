// The mixer loaded when the first piece or wave needs it: this program does not link it, so what
// it maps into memory shows when the mixer (and the synthesiser behind it) came in. SDL's dummy
// audio driver plays in real time.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "backends/sdl/sound/SdlMedia.h"
#include "platform/mci/Mci.h"
#include "sound/SoundAPI.h"
#include "tests/backends/sdl/SoundFiles.h"

namespace ombrevale {
namespace {

// True when a file whose name holds `part` is mapped into this process.
bool Mapped(const std::string& part) {
  std::ifstream maps("/proc/self/maps");
  std::stringstream text;
  text << maps.rdbuf();
  return text.str().find(part) != std::string::npos;
}

class MixerOnDemandTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
  void TearDown() override { media.reset(); }

  void Make(std::string library) {
    media = std::make_unique<SdlMedia>(std::move(library),
                                       [this](const std::string& s) { notices.push_back(s); });
  }
  int32_t Send(const std::string& command) { return media->mciSendStringA(command, nullptr, 0, 0); }
  int32_t OpenPiece() { return Send("open \"" + piece + "\" type sequencer alias m1"); }
  std::string Mode() {
    char reply[64] = {};
    const int32_t status = media->mciSendStringA("status m1 mode", reply, sizeof reply, 0);
    return status == kMciSuccess ? reply : std::string(MciStatusText(status));
  }

  SoundFolder files{"ombrevale_mixer"};
  const std::filesystem::path& dir = files.dir;
  const std::string &piece = files.piece, &wave = files.wave;
  std::vector<std::string> notices;
  std::unique_ptr<SdlMedia> media;
};

TEST_F(MixerOnDemandTest, WithTheMixerHiddenEveryCommandAnswersAsAMachineWithoutSoundSaidOnce) {
  Make((dir / "libSDL2_mixer-hidden.so.0").string());
  SoundAPI sound(*media);
  sound.StopAllSound();  // what the window does when it loads: needs no device, says nothing
  sound.PollMusic();
  EXPECT_EQ(Send("open \"" + (dir / "none.mid").string() + "\" alias m1"), kMciErrFileMissing);
  EXPECT_TRUE(notices.empty());

  EXPECT_EQ(OpenPiece(), kMciErrNoAudioDevice);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].rfind("no sound: the mixer could not be loaded (", 0), 0u) << notices[0];
  EXPECT_NE(notices[0].find("libSDL2_mixer-hidden.so.0"), std::string::npos) << notices[0];
  EXPECT_EQ(notices[0].find('\n'), std::string::npos);

  EXPECT_EQ(OpenPiece(), kMciErrNoAudioDevice);
  EXPECT_FALSE(media->sndPlaySoundA(wave, SND_ASYNC));
  EXPECT_EQ(media->LastWaveStatus(), kMciErrNoAudioDevice);
  EXPECT_EQ(Send("play m1"), kMciErrAliasNotOpen);
  sound.StopAllSound();
  EXPECT_EQ(notices.size(), 1u);
  EXPECT_FALSE(media->AudioOpen());
  EXPECT_FALSE(Mapped("libSDL2_mixer"));
  EXPECT_FALSE(Mapped("libfluidsynth"));
}

TEST_F(MixerOnDemandTest, TheFirstPieceLoadsTheMixerOpensTheOutputAndPlays) {
  Make(MixerLibraryName());
  SoundAPI sound(*media);
  sound.StopAllSound();
  sound.PollMusic();
  EXPECT_FALSE(Mapped("libSDL2_mixer")) << "loaded before any piece or wave needed it";
  EXPECT_FALSE(Mapped("libfluidsynth"));
  EXPECT_FALSE(media->AudioOpen());

  const int32_t opened = OpenPiece();
  ASSERT_EQ(opened, kMciSuccess) << MciStatusText(opened) << ": " << media->LastError();
  EXPECT_TRUE(Mapped("libSDL2_mixer"));
  EXPECT_TRUE(Mapped("libfluidsynth"));
  EXPECT_TRUE(media->AudioOpen());
  EXPECT_EQ(Send("play m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "playing");
  EXPECT_TRUE(media->sndPlaySoundA(wave, SND_ASYNC));
  EXPECT_EQ(Send("pause m1"), kMciSuccess);
  EXPECT_EQ(Mode(), "paused");
  EXPECT_EQ(Send("play m1 from 0"), kMciSuccess);
  EXPECT_EQ(Mode(), "playing");
  sound.StopAllSound();
  EXPECT_EQ(Mode(), "alias not open");
  EXPECT_TRUE(notices.empty());
}

// Last in the file: it loads the mixer too.
TEST_F(MixerOnDemandTest, WithoutASoundfontPiecesAnswerAsWithoutMusicAndWavesStillPlay) {
  setenv("SDL_FORCE_SOUNDFONTS", "1", 1);
  setenv("SDL_SOUNDFONTS", (dir / "none.sf2").c_str(), 1);
  Make(MixerLibraryName());
  const int32_t first = OpenPiece();
  const int32_t second = OpenPiece();
  const bool waved = media->sndPlaySoundA(wave, SND_ASYNC);
  unsetenv("SDL_FORCE_SOUNDFONTS");
  unsetenv("SDL_SOUNDFONTS");
  EXPECT_EQ(first, kMciErrNoAudioDevice);
  EXPECT_EQ(second, kMciErrNoAudioDevice);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], "no music: no General MIDI soundfont at " + (dir / "none.sf2").string());
  EXPECT_TRUE(waved) << media->LastError();
  EXPECT_TRUE(media->AudioOpen());
}

}  // namespace
}  // namespace ombrevale
