#include <gtest/gtest.h>

#include "app/World.h"
#include "platform/FatalError.h"
#include "platform/PageLayout.h"

namespace ombrevale {
namespace {

using world::World;
using Calls = std::vector<std::string>;
const Calls kStopAll = {"stop m1", "close m1", "sndPlaySoundA(\"\", 3)"};

TEST(Form1, PlacesTheWindowCentredInTwipsWithoutRounding) {
  World w;
  w.app.form.Load();
  EXPECT_EQ(w.desktop.windowWidth, 6130);
  EXPECT_EQ(w.desktop.windowHeight, 5210);
  EXPECT_EQ(w.app.form.Left, 4615);
  EXPECT_EQ(w.app.form.Top, 3155);
  EXPECT_EQ(w.desktop.left, 4615);
  EXPECT_EQ(w.desktop.caption, "Ombrevale " + std::string(kVersion));
  EXPECT_EQ(w.random.seeds, std::vector<uint32_t>{1000});  // seeded once, from the clock

  // The window system rounds the size to whole pixels; an odd difference gives a half twip.
  World rounded;
  rounded.desktop.adjustSize = [](float t) { return std::round(t / 15) * 15; };
  rounded.app.form.Load();
  EXPECT_EQ(rounded.app.form.Left, (15360 - 6135) / 2.0f);
  EXPECT_EQ(rounded.app.form.Top, (11520 - 5205) / 2.0f);

  // A screen smaller than the window: placed partly off the screen, not clamped.
  World small;
  small.desktop.screenWidth = 320 * 15;
  small.desktop.screenHeight = 240 * 15;
  small.app.form.Load();
  EXPECT_EQ(small.app.form.Left, (4800 - 6130) / 2.0f);
  EXPECT_LT(small.app.form.Top, 0);
}

TEST(Form1, LoadStopsAllSoundLaysOutThePagesAndLoadsPicturesInTableOrder) {
  World w;
  w.app.form.PageMain.Visible = true;
  w.app.form.PageMain.Place.Left = 77;
  w.app.form.Load();
  EXPECT_EQ(w.media.Log(), kStopAll);
  EXPECT_TRUE(w.app.form.PageTitle.Visible);
  EXPECT_FALSE(w.app.form.PageMain.Visible);
  EXPECT_FALSE(w.app.form.PageData.Visible);
  for (const Page* page : {&w.app.form.PageTitle, &w.app.form.PageMain}) {
    EXPECT_EQ(page->Place, (Placement{0, 0, 6060, 4560})) << page->Name;
  }
  // No picture files at all: nothing is read, without a word.
  EXPECT_TRUE(w.pictures.loaded.empty());
  EXPECT_EQ(w.app.form.LabMain1.Caption, "Burst");
}

// The window's load on a reader whose files are held in memory: `Put` makes a file of dat/.
class PicturesInDat : public ::testing::Test {
 protected:
  void Put(const std::string& name, Surface picture = Surface(1, 1, 0x00FFFFFF)) {
    w_.pictures.pictures["dat/" + name] = std::move(picture);
  }
  World w_;
};

const std::vector<std::string> kTable = {
    "dat/face.bmp",  "dat/black.bmp",   "dat/eye0.bmp",      "dat/eye1.bmp",  "dat/eye2.bmp",
    "dat/eye3.bmp",  "dat/eye4.bmp",    "dat/pupil.bmp",     "dat/hair0.bmp", "dat/hair1.bmp",
    "dat/hair2.bmp", "dat/big_eye.bmp", "dat/big_pupil.bmp", "dat/view0.bmp", "dat/view1.bmp",
    "dat/view2.bmp", "dat/view3.bmp",   "dat/wire.bmp",      "dat/tv0.bmp",   "dat/tv1.bmp",
    "dat/noise.bmp"};

TEST_F(PicturesInDat, EveryFileOfTheTableInOrderAndNoOther) {
  for (const auto& path : kTable) Put(path.substr(4));
  Put("eye5.bmp");
  Put("view4.bmp");
  Put("eye3.bmp", Surface(150, 60, 0x00ABCDEF));
  w_.app.form.Load();
  EXPECT_EQ(w_.pictures.loaded, kTable);
  EXPECT_EQ(w_.app.form.PicNiluEye[3].Image, Surface(150, 60, 0x00ABCDEF));
  EXPECT_FALSE(w_.app.form.PicNoise.Image.Empty());
}

TEST_F(PicturesInDat, AMissingFileIsSkippedAndTheRestStillLoad) {
  for (const auto& path : kTable)
    if (path != "dat/eye3.bmp" && path != "dat/wire.bmp") Put(path.substr(4));
  w_.app.form.PicWire.Image = Surface(2, 2, 0x00123456);  // a control keeps what it held
  w_.app.form.Load();
  EXPECT_EQ(w_.pictures.loaded.size(), 19u);
  EXPECT_TRUE(w_.app.form.PicNiluEye[3].Image.Empty());
  EXPECT_EQ(w_.app.form.PicWire.Image, Surface(2, 2, 0x00123456));
  EXPECT_FALSE(w_.app.form.PicNiluEye[4].Image.Empty());
  EXPECT_FALSE(w_.app.form.PicNoise.Image.Empty());
}

TEST_F(PicturesInDat, AnUnreadablePictureEndsTheStartBeforeTheWindowIsShown) {
  for (const auto& path : kTable) Put(path.substr(4));
  w_.pictures.unreadable["dat/noise.bmp"] = "broken";
  try {
    Main(w_.app);
    FAIL() << "started with a broken picture";
  } catch (const FatalError& e) {
    EXPECT_NE(std::string(e.what()).find("dat/noise.bmp"), std::string::npos);
  }
  EXPECT_FALSE(w_.desktop.shown);
  EXPECT_EQ(w_.desktop.frames, 0);
}

TEST(Form1, KeysGoToTheTypewriterWhileAMessageIsPendingElseToTheVisiblePage) {
  TimeAPI t;
  EXPECT_EQ(RouteKey(t, true, false, 88), KeyRoute::TitlePage);  // X is an ordinary key
  EXPECT_EQ(RouteKey(t, true, true, 65), KeyRoute::TitlePage);   // the title page is asked first
  EXPECT_EQ(RouteKey(t, false, true, 65), KeyRoute::MainPage);
  EXPECT_EQ(RouteKey(t, false, false, 65), KeyRoute::Nowhere);
  t.MessageText = "pending";
  EXPECT_EQ(RouteKey(t, true, false, 88), KeyRoute::Message);
  EXPECT_EQ(RouteKey(t, true, false, 120), KeyRoute::Swallowed);  // lower-case code: not X
  EXPECT_EQ(RouteKey(t, true, false, 13), KeyRoute::Swallowed);
  EXPECT_EQ(RouteKey(t, false, false, 88), KeyRoute::Message);
}

TEST(Form1, VersionBoxSaysVersionAuthorAndDate) {
  EXPECT_EQ(VersionText(),
            "ver " + std::string(kVersion) + "\r\nmade by the Ombrevale team\r\n2002/5/28");
  World w;
  w.desktop.Menu(1500, 0);
  w.desktop.Close(5000);
  Main(w.app);
  ASSERT_EQ(w.desktop.boxes.size(), 1u);
  EXPECT_EQ(w.desktop.boxes[0].first, "Ombrevale");
  EXPECT_EQ(w.desktop.boxes[0].second, VersionText());
  EXPECT_EQ(w.desktop.menu, std::vector<std::string>{"Version"});
}

TEST(Form1, CanvasIsShownInsideTheTitlePageFrameWithItsLabel) {
  World w;
  w.app.form.Load();
  w.app.form.PicTitle1.Image.Fill(0x00112233);
  w.app.form.RefreshCanvas();
  const Surface& frame = w.desktop.lastFrame;
  ASSERT_EQ(frame.Width(), kPageWidth);
  ASSERT_EQ(frame.Height(), kPageHeight);
  EXPECT_EQ(frame.At(2, 2), 0x00112233u);
  EXPECT_EQ(frame.At(401, 301), 0x00112233u);
  EXPECT_NE(frame.At(0, 0), 0x00112233u);  // the sunken frame
  EXPECT_NE(frame.At(403, 303), 0x00112233u);
  EXPECT_EQ(w.desktop.lastLabels, std::vector<std::string>{"Burst"});
}

}  // namespace
}  // namespace ombrevale
