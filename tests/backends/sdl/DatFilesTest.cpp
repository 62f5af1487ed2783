// The pictures of dat/, read through the program's own picture reader, checked for what the
// title vision needs of them: OR pictures on black, masks of pure black and white, eyes that fit
// the face.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "backends/sdl/pictures/SdlPictures.h"
#include "platform/PageLayout.h"

namespace ombrevale {
namespace {

constexpr int kEyeWidth = 150, kEyeHeight = 60;
constexpr Pixel kBlack = Rgb(0, 0, 0), kWhite = Rgb(255, 255, 255);

// The layer pictures ORed over the canvas with a tremble of 0..2 pixels.
const std::vector<std::string> kOrLayers = {"face",    "hair0",     "hair1", "hair2",
                                            "big_eye", "big_pupil", "view0", "view2",
                                            "view3",   "wire",      "tv1"};
// The 150 x 60 eye pictures ORed onto the face.
const std::vector<std::string> kEyes = {"eye0", "eye1", "eye2", "eye3", "eye4", "pupil"};
const std::vector<std::string> kMasks = {"view1", "tv0"};

Surface Read(const std::string& name) {
  SdlPictureReader reader;
  return reader.LoadPicture(std::string(OMBREVALE_SOURCE_DIR) + "/dat/" + name + ".bmp");
}

uint8_t Brightest(Pixel p) {
  return static_cast<uint8_t>(std::max({p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF}));
}

// Pixels other than black in the w x h rectangle at (x, y).
int Lit(const Surface& s, int x, int y, int w, int h) {
  int lit = 0;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) lit += s.At(i, j) != kBlack;
  return lit;
}

TEST(DatFiles, EveryPictureIsThereAtTheSizeItsReaderUses) {
  std::vector<std::string> layers = kOrLayers;
  layers.insert(layers.end(), kMasks.begin(), kMasks.end());
  layers.push_back("black");
  for (const std::string& name : layers) {
    const Surface s = Read(name);
    EXPECT_EQ(s.Width(), kCanvasWidth) << name;
    EXPECT_EQ(s.Height(), kCanvasHeight) << name;
  }
  for (const std::string& name : kEyes) {
    const Surface s = Read(name);
    EXPECT_EQ(s.Width(), kEyeWidth) << name;
    EXPECT_EQ(s.Height(), kEyeHeight) << name;
  }
  // Noise blocks of 25 x 25 are cut from corners at x 0..75, y 0..50.
  const Surface noise = Read("noise");
  EXPECT_GE(noise.Width(), 100);
  EXPECT_GE(noise.Height(), 75);
  EXPECT_EQ(layers.size() + kEyes.size() + 1, 21u);
}

TEST(DatFiles, TheMasksAreOnlyBlackAndWhiteAndBothKeepAndClear) {
  for (const std::string& name : kMasks) {
    const Surface s = Read(name);
    int white = 0, other = 0;
    for (Pixel p : s.Pixels()) {
      white += p == kWhite;
      other += p != kWhite && p != kBlack;
    }
    EXPECT_EQ(other, 0) << name << ": a grey or coloured pixel would tint what it keeps";
    // A window onto what lies beneath, with a frame around it.
    EXPECT_GT(white, kCanvasWidth * kCanvasHeight / 5) << name;
    EXPECT_LT(white, kCanvasWidth * kCanvasHeight * 4 / 5) << name;
  }
  const Surface black = Read("black");
  for (Pixel p : black.Pixels()) ASSERT_EQ(p, kBlack) << "black.bmp";
}

TEST(DatFiles, TheOrPicturesLieOnBlackWithABlackBorder) {
  // The tremble moves a layer by up to 2 pixels (an eye by 1): an edge that is not black would
  // show as a seam.
  auto check = [](const std::string& name, int border) {
    const Surface s = Read(name);
    const int w = s.Width(), h = s.Height();
    EXPECT_EQ(Lit(s, 0, 0, w, border) + Lit(s, 0, h - border, w, border) + Lit(s, 0, 0, border, h) +
                  Lit(s, w - border, 0, border, h),
              0)
        << name;
    EXPECT_GT(Lit(s, 0, 0, w, h), w * h / 200) << name << " draws next to nothing";
  };
  for (const std::string& name : kOrLayers) check(name, 3);
  for (const std::string& name : kEyes) check(name, 2);
}

TEST(DatFiles, TheFaceAndHairLeaveThePlaceOfTheEyesBlack) {
  // Eye frames land at x 60 or 61, y 140 or 141; the face and each hair picture tremble by 0..2.
  // So nothing of theirs may lie in x 58..210, y 138..200.
  for (const char* name : {"face", "hair0", "hair1", "hair2"}) {
    EXPECT_EQ(Lit(Read(name), 58, 138, 211 - 58, 201 - 138), 0) << name;
  }
}

TEST(DatFiles, ThePupilsLieInsideTheOpeningOfTheOpenEye) {
  const Surface eye = Read("eye0");
  const Surface pupil = Read("pupil");
  // The outside of the eyes: every pixel reachable from the frame's edge without crossing a lid
  // (a line at least a quarter bright).
  std::vector<char> outside(static_cast<size_t>(kEyeWidth * kEyeHeight), 0);
  std::vector<std::pair<int, int>> todo;
  for (int x = 0; x < kEyeWidth; ++x) todo.insert(todo.end(), {{x, 0}, {x, kEyeHeight - 1}});
  for (int y = 0; y < kEyeHeight; ++y) todo.insert(todo.end(), {{0, y}, {kEyeWidth - 1, y}});
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    if (x < 0 || y < 0 || x >= kEyeWidth || y >= kEyeHeight) continue;
    char& seen = outside[static_cast<size_t>(y * kEyeWidth + x)];
    if (seen || Brightest(eye.At(x, y)) >= 64) continue;
    seen = 1;
    todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
  }
  // Frame and pupil tremble by 0 or 1 each, independently: the pupil may sit one pixel off the
  // frame in any direction, and must still lie within the lids.
  int lit = 0;
  for (int y = 0; y < kEyeHeight; ++y) {
    for (int x = 0; x < kEyeWidth; ++x) {
      if (pupil.At(x, y) == kBlack) continue;
      ++lit;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int ex = x + dx, ey = y + dy;
          ASSERT_TRUE(ex >= 0 && ey >= 0 && ex < kEyeWidth && ey < kEyeHeight);
          ASSERT_FALSE(outside[static_cast<size_t>(ey * kEyeWidth + ex)])
              << "pupil pixel " << x << "," << y << " outside the eye, frame moved " << dx << ","
              << dy;
        }
    }
  }
  // Two irises, each some 20 pixels across.
  EXPECT_GT(lit, 400);
}

TEST(DatFiles, TheNoiseIsColouredStatic) {
  const Surface noise = Read("noise");
  std::set<Pixel> colours;
  int black = 0;
  for (int y = 0; y < 75; ++y)
    for (int x = 0; x < 100; ++x) {
      colours.insert(noise.At(x, y));
      black += noise.At(x, y) == kBlack;
    }
  EXPECT_GE(colours.size(), 8u);
  // Gaps between the specks, but mostly specks.
  EXPECT_GT(black, 100 * 75 / 10);
  EXPECT_LT(black, 100 * 75 * 2 / 3);
}

}  // namespace
}  // namespace ombrevale
