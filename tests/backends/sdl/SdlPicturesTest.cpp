#include "backends/sdl/pictures/SdlPictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "app/World.h"
#include "platform/FatalError.h"
#include "tests/platform/bitmap/ResidentPages.h"

namespace ombrevale {
namespace {

namespace fs = std::filesystem;

void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A BMP file with a 40-byte info header: `rows` bottom-up unless `topDown`, each row's pixel
// bytes as given (padding to 4 bytes is added here).
std::vector<uint8_t> Bitmap(int width, int bits, const std::vector<Pixel>& palette,
                            const std::vector<std::vector<uint8_t>>& rows, bool topDown = false) {
  const int height = static_cast<int>(rows.size());
  const size_t stride = (rows[0].size() + 3) / 4 * 4;
  const uint32_t pixelOffset = 14 + 40 + static_cast<uint32_t>(palette.size()) * 4;
  std::vector<uint8_t> b = {'B', 'M'};
  Put32(b, pixelOffset + static_cast<uint32_t>(stride * rows.size()));
  Put32(b, 0);
  Put32(b, pixelOffset);
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(width));
  Put32(b, static_cast<uint32_t>(topDown ? -height : height));
  Put16(b, 1);
  Put16(b, static_cast<uint16_t>(bits));
  Put32(b, 0);  // no compression
  Put32(b, static_cast<uint32_t>(stride * rows.size()));
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, static_cast<uint32_t>(palette.size()));
  Put32(b, 0);
  for (Pixel p : palette) Put32(b, p);  // blue, green, red, 0: the same bytes as 0x00RRGGBB
  for (int i = 0; i < height; ++i) {
    const auto& row = rows[static_cast<size_t>(topDown ? i : height - 1 - i)];
    b.insert(b.end(), row.begin(), row.end());
    b.resize(b.size() + (stride - row.size()), 0);
  }
  return b;
}

// A run-length-encoded bitmap, 4 bits a pixel, that claims `width` x `height` pixels and holds
// nothing but the end of its pixels: 120 bytes that decode to the whole claimed size.
std::vector<uint8_t> RunLengthClaim(int width, int height) {
  const std::vector<uint8_t> pixels = {0, 1};  // end of the bitmap
  const uint32_t pixelOffset = 14 + 40 + 16 * 4;
  std::vector<uint8_t> b = {'B', 'M'};
  Put32(b, pixelOffset + static_cast<uint32_t>(pixels.size()));
  Put32(b, 0);
  Put32(b, pixelOffset);
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(width));
  Put32(b, static_cast<uint32_t>(height));
  Put16(b, 1);
  Put16(b, 4);
  Put32(b, 2);  // run-length encoded, 4 bits a pixel
  Put32(b, static_cast<uint32_t>(pixels.size()));
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, 16);
  Put32(b, 0);
  for (uint32_t i = 0; i < 16; ++i) Put32(b, i * 0x111111);
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

class SdlPictures : public testing::Test {
 protected:
  fs::path dir_ = fs::temp_directory_path() / ("ombrevale-pictures-" + std::to_string(getpid()));
  SdlPictureReader reader_;

  void SetUp() override { fs::create_directories(dir_); }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }

  // The FatalError's text when loading `path` fails, or "" when it loads.
  std::string Failure(const std::string& path) {
    try {
      reader_.LoadPicture(path);
    } catch (const FatalError& e) {
      return e.what();
    }
    return "";
  }
};

TEST_F(SdlPictures, ReadsTrueColourAndPalettePicturesPixelForPixel) {
  // Three pixels a row: 9 bytes, padded to 12. Bytes are blue, green, red.
  const auto rgb = Bitmap(3, 24, {},
                          {{0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00},
                           {0x40, 0x30, 0x20, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00}});
  const Surface top = reader_.LoadPicture(Write("rgb.bmp", rgb));
  ASSERT_EQ(top.Width(), 3);
  ASSERT_EQ(top.Height(), 2);
  EXPECT_EQ(top.At(0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(top.At(1, 0), Rgb(0, 255, 0));
  EXPECT_EQ(top.At(2, 0), Rgb(0, 0, 255));
  EXPECT_EQ(top.At(0, 1), Rgb(0x20, 0x30, 0x40));
  EXPECT_EQ(top.At(1, 1), Rgb(255, 255, 255));
  EXPECT_EQ(top.At(2, 1), Rgb(0, 0, 0));

  // Rows stored top-down read the same.
  const auto rgbDown = Bitmap(3, 24, {},
                              {{0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00},
                               {0x40, 0x30, 0x20, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00}},
                              true);
  EXPECT_EQ(reader_.LoadPicture(Write("down.bmp", rgbDown)), top);

  // 8 bits a pixel through a palette of four colours.
  const std::vector<Pixel> palette = {Rgb(0, 0, 64), Rgb(255, 128, 128), Rgb(255, 192, 192),
                                      Rgb(1, 2, 3)};
  const auto indexed = Bitmap(5, 8, palette, {{0, 1, 2, 3, 1}, {3, 3, 0, 0, 2}});
  const Surface pal = reader_.LoadPicture(Write("pal.bmp", indexed));
  ASSERT_EQ(pal.Width(), 5);
  ASSERT_EQ(pal.Height(), 2);
  const int expected[2][5] = {{0, 1, 2, 3, 1}, {3, 3, 0, 0, 2}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(pal.At(x, y), palette[expected[y][x]]) << x << "," << y;
}

TEST_F(SdlPictures, AnUnreadableFileIsAFatalErrorNamingIt) {
  const auto good = Bitmap(2, 24, {}, {{1, 2, 3, 4, 5, 6}});

  std::vector<uint8_t> truncated(good.begin(), good.begin() + 40);
  const std::string cut = Write("cut.bmp", truncated);
  EXPECT_NE(Failure(cut).find(cut), std::string::npos) << Failure(cut);

  std::vector<uint8_t> noise(300);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 37 + 11);
  const std::string junk = Write("noise.bmp", noise);
  EXPECT_NE(Failure(junk).find(junk + ": not a readable bitmap"), std::string::npos)
      << Failure(junk);

  // A small file that claims a huge picture is refused before anything is decoded.
  std::vector<uint8_t> huge = good;
  huge[18] = 0x20, huge[19] = 0x4E, huge[20] = 0, huge[21] = 0;  // 20000 wide
  huge[22] = 0x20, huge[23] = 0x4E, huge[24] = 0, huge[25] = 0;  // 20000 high
  const std::string big = Write("huge.bmp", huge);
  const std::string why = Failure(big);
  EXPECT_NE(why.find(big + ": not a readable bitmap"), std::string::npos) << why;
  EXPECT_NE(why.find("20000"), std::string::npos) << why;

  const std::string missing = (dir_ / "missing.bmp").string();
  EXPECT_NE(Failure(missing).find(missing), std::string::npos) << Failure(missing);
  EXPECT_NE(Failure(dir_.string()).find(dir_.string()), std::string::npos) << "a folder";

  // A file asked for as the window asks (relative to the working folder) is named by the whole
  // path it was looked for at, so that the player knows which folder holds it.
  const fs::path before = fs::current_path();
  fs::current_path(dir_);
  const std::string relative = Failure("noise.bmp");
  fs::current_path(before);
  EXPECT_EQ(relative.rfind(junk + ": not a readable bitmap", 0), 0u) << relative;
}

// Pictures read ahead are the pictures read in place, with the same budget left, and a file that
// fails ahead fails in place with the same words; a path not read ahead is read in place.
TEST_F(SdlPictures, PicturesReadAheadAreThoseReadInPlace) {
  const std::string red = Write("red.bmp", Bitmap(2, 24, {}, {{0, 0, 255, 0, 0, 0}}));
  const std::string ramp =
      Write("ramp.bmp", Bitmap(3, 8, {0x000000, 0x102030, 0xFFFFFF}, {{0, 1, 2}, {2, 1, 0}}, true));
  const std::vector<uint8_t> whole = Bitmap(2, 24, {}, {{1, 2, 3, 4, 5, 6}});
  const std::string cut = Write("cut.bmp", std::vector<uint8_t>(whole.begin(), whole.begin() + 40));
  const std::string huge = Write("huge.bmp", RunLengthClaim(kMaxPictureSide, kMaxPictureSide));
  const std::string missing = (dir_ / "missing.bmp").string();
  const std::string later = Write("later.bmp", Bitmap(1, 24, {}, {{9, 8, 7}}));
  const std::vector<std::string> order = {red, cut, ramp, missing, red, huge, ramp, later};

  SdlPictureReader ahead;
  ahead.ReadAhead({red, cut, ramp, missing, red, huge, ramp});  // `later` is not among them
  for (const std::string& path : order) {
    std::string inPlace, readAhead;
    Surface a, b;
    try {
      a = reader_.LoadPicture(path);
    } catch (const FatalError& e) {
      inPlace = e.what();
    }
    try {
      b = ahead.LoadPicture(path);
    } catch (const FatalError& e) {
      readAhead = e.what();
    }
    EXPECT_EQ(readAhead, inPlace) << path;
    EXPECT_EQ(b, a) << path;
    EXPECT_EQ(ahead.Budget().Left(), reader_.Budget().Left()) << path;
  }
  EXPECT_EQ(reader_.LoadPicture(ramp).Width(), 3);
}

TEST_F(SdlPictures, OnlyAnOrdinaryFileIsThere) {
  const std::string file = Write("a.bmp", {'x'});
  fs::create_directories(dir_ / "folder.bmp");
  EXPECT_EQ(reader_.FileExists(file), file);
  EXPECT_EQ(reader_.FileExists((dir_ / "folder.bmp").string()), "");
  EXPECT_EQ(reader_.FileExists((dir_ / "missing.bmp").string()), "");
  EXPECT_EQ(reader_.FileExists(""), "");
}

TEST_F(SdlPictures, AClaimOfTheLargestSizeFillsTheBudgetExactlyAndTheNextIsRefused) {
  const std::string first = Write("first.bmp", RunLengthClaim(4096, 4096));
  const std::string second = Write("second.bmp", RunLengthClaim(4096, 4096));
  const std::string tiny = Write("tiny.bmp", Bitmap(1, 24, {}, {{1, 2, 3}}));
  ASSERT_EQ(fs::file_size(first), 120u);

  const Surface whole = reader_.LoadPicture(first);
  EXPECT_EQ(whole.Width(), 4096);
  EXPECT_EQ(whole.Height(), 4096);
  EXPECT_EQ(reader_.Budget().Total(), 4096u * 4096 * 4);
  EXPECT_EQ(reader_.Budget().Left(), 0u);

  // The second is refused, and the first, which spent the budget, is named.
  const std::string why = Failure(second);
  EXPECT_EQ(why, first +
                     ": too large to load (its header claims 4096 x 4096 pixels, 64 MB once "
                     "decoded, of the 64 MB that all the pictures together may take, and leaves "
                     "too little for " +
                     second + " (4096 x 4096 pixels))");
  // Once the budget is spent, not a pixel more.
  EXPECT_NE(Failure(tiny).find("too little for " + tiny + " (1 x 1 pixels)"), std::string::npos)
      << Failure(tiny);
}

TEST_F(SdlPictures, ARefusedPictureTakesNothingAndOrdinaryPicturesLoadWhileTheBudgetLasts) {
  // Half the budget, then a claim of all of it is refused, and the other half still loads.
  const std::string half = Write("half.bmp", RunLengthClaim(4096, 2048));
  const std::string whole = Write("whole.bmp", RunLengthClaim(4096, 4096));
  reader_.LoadPicture(half);
  EXPECT_NE(Failure(whole).find("only 32 MB of the 64 MB"), std::string::npos) << Failure(whole);
  reader_.LoadPicture(half);
  EXPECT_EQ(reader_.Budget().Left(), 0u);

  // A picture of the title's size, 480000 bytes decoded: 139 of them fit, the 140th does not,
  // and a small eye picture still fits in what is left.
  SdlPictureReader fresh;
  std::vector<uint8_t> row(400 * 3);
  for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint8_t>(i);
  const std::string page = Write("page.bmp", Bitmap(400, 24, {}, std::vector(300, row)));
  const std::string eye = Write("eye.bmp", Bitmap(150, 24, {}, std::vector(60, row)));
  const Surface first = fresh.LoadPicture(page);
  for (int i = 2; i <= 139; ++i) ASSERT_EQ(fresh.LoadPicture(page), first) << "picture " << i;
  try {
    fresh.LoadPicture(page);
    ADD_FAILURE() << "a 140th picture of 400 x 300 was read";
  } catch (const FatalError& e) {
    EXPECT_NE(std::string(e.what()).find("only 388864 bytes of the 64 MB"), std::string::npos)
        << e.what();
  }
  EXPECT_EQ(fresh.LoadPicture(eye).Width(), 150);
  EXPECT_EQ(fresh.Budget().Left(), 388864u - 150 * 60 * 4);
}

TEST_F(SdlPictures, ThePicturesOfDatTakeATenthOfTheBudget) {
  SdlPictureReader reader;
  for (const char* name : {"face",  "black", "eye0",  "eye1",  "eye2",    "eye3",      "eye4",
                           "pupil", "hair0", "hair1", "hair2", "big_eye", "big_pupil", "view0",
                           "view1", "view2", "view3", "wire",  "tv0",     "tv1",       "noise"}) {
    reader.LoadPicture(std::string(OMBREVALE_SOURCE_DIR) + "/dat/" + name + ".bmp");
  }
  const uint64_t used = reader.Budget().Total() - reader.Budget().Left();
  EXPECT_EQ(used, (14 * 400 * 300 + 6 * 150 * 60 + 100 * 75) * 4u);
  EXPECT_GT(reader.Budget().Total(), 9 * used);
}


// A picture's black is never written: read from its file, black costs no memory, and a picture
// holds only the pages its ink lies on. Its pixels are still those of the file.
TEST_F(SdlPictures, APicturesBlackCostsNoMemory) {
  const Surface fresh(400, 300), grey(400, 300, 0x00808080);
  EXPECT_EQ(ResidentPages(fresh), 0u);
  EXPECT_EQ(ResidentPages(grey), (400u * 300 * 4 + 4095) / 4096);

  SdlPictureReader reader;
  const auto dat = [&reader](const char* name) {
    return reader.LoadPicture(std::string(OMBREVALE_SOURCE_DIR) + "/dat/" + name + ".bmp");
  };
  const Surface black = dat("black"), face = dat("face");
  EXPECT_EQ(ResidentPages(black), 0u);
  // The face lies in the upper left: a third of its pages hold nothing but black.
  EXPECT_LT(ResidentPages(face), 118u * 2 / 3);
  EXPECT_GT(ResidentPages(face), 118u / 3);
  for (Pixel p : black.Pixels()) ASSERT_EQ(p, 0u);
  size_t ink = 0;
  for (Pixel p : face.Pixels()) ink += p != 0;
  EXPECT_EQ(ink, 400u * 300 - 108120);  // every pixel but the file's black ones
}

// The window's load reads the real files of dat/, relative to the working directory.
TEST_F(SdlPictures, TheWindowLoadsItsPicturesFromDatBelowTheWorkingDirectory) {
  fs::create_directories(dir_ / "dat");
  const auto blue = Bitmap(2, 24, {}, {{0xFF, 0, 0, 0xFF, 0, 0}, {0xFF, 0, 0, 0xFF, 0, 0}});
  const auto red = Bitmap(1, 24, {}, {{0, 0, 0xFF}});
  Write("dat/black.bmp", blue);
  Write("dat/eye4.bmp", red);
  Write("dat/tv1.bmp", red);
  Write("dat/eye5.bmp", std::vector<uint8_t>(10, 0));  // not in the table: never opened
  fs::create_directories(dir_ / "dat" / "tv0.bmp");    // a folder is no file: skipped

  const fs::path old = fs::current_path();
  fs::current_path(dir_);
  FakeClock clock;
  ScriptedRandom random;
  HeadlessDesktop desktop(clock);
  RecordingMedia media;
  Platform platform{clock, random, desktop, media, reader_};
  App app(platform);
  app.form.Load();
  fs::current_path(old);

  EXPECT_EQ(app.form.PicBlack.Image.Width(), 2);
  EXPECT_EQ(app.form.PicBlack.Image.At(1, 1), Rgb(0, 0, 255));
  EXPECT_EQ(app.form.PicNiluEye[4].Image.At(0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(app.form.PicTv[1].Image.At(0, 0), Rgb(255, 0, 0));
  EXPECT_TRUE(app.form.PicNilu.Image.Empty());
  EXPECT_TRUE(app.form.PicTv[0].Image.Empty());
}

}  // namespace
}  // namespace ombrevale
