#include "platform/sdl/SdlPictures.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "app/World.h"
#include "platform/FatalError.h"

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
}

TEST_F(SdlPictures, OnlyAnOrdinaryFileIsThere) {
  const std::string file = Write("a.bmp", {'x'});
  fs::create_directories(dir_ / "folder.bmp");
  EXPECT_EQ(reader_.FileExists(file), file);
  EXPECT_EQ(reader_.FileExists((dir_ / "folder.bmp").string()), "");
  EXPECT_EQ(reader_.FileExists((dir_ / "missing.bmp").string()), "");
  EXPECT_EQ(reader_.FileExists(""), "");
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
