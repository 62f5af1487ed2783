// The checked read of a bitmap file: the whole file once its headers pass, and the words it fails
// with for what is no picture, no file, or a FIFO put in the picture's place while it is read.

#include "platform/bitmap/BitmapFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/FatalError.h"
#include "tests/platform/bitmap/Rgb24Bitmap.h"

#if !defined(_WIN32)
#include <sys/stat.h>

#include "tests/platform/files/FifoSwap.h"
#endif

namespace ombrevale {
namespace {

namespace fs = std::filesystem;

class BitmapFile : public testing::Test {
 protected:
  fs::path dir_ = fs::temp_directory_path() / ("ombrevale-bitmapfile-" + std::to_string(getpid()));

  void SetUp() override { fs::create_directories(dir_); }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }

  // The FatalError's text when reading `path` fails, or "" when it reads.
  static std::string Failure(const std::string& path) {
    BitmapFormat format;
    try {
      ReadCheckedBitmapFile(path, format);
    } catch (const FatalError& e) {
      return e.what();
    }
    return "";
  }
};

const std::vector<uint8_t> kPicture = Rgb24Bitmap(
    {{Rgb(255, 0, 0), Rgb(0, 0, 0), Rgb(1, 2, 3)}, {Rgb(0, 255, 0), Rgb(0, 0, 255), Rgb(9, 9, 9)}},
    false);

TEST_F(BitmapFile, ReadsAWholePictureAndSaysWhyItCannotReadAnythingElse) {
  BitmapFormat format;
  EXPECT_EQ(ReadCheckedBitmapFile(Write("good.bmp", kPicture), format), kPicture);
  EXPECT_EQ(format.size.width, 3);
  EXPECT_EQ(format.size.height, 2);

  // Its headers whole, its pixels cut short.
  const std::string cut =
      Write("cut.bmp", std::vector<uint8_t>(kPicture.begin(), kPicture.end() - 5));
  EXPECT_NE(Failure(cut).find(cut + ": "), std::string::npos) << Failure(cut);
  const std::string noise = Write("noise.bmp", std::vector<uint8_t>(300, 0x5A));
  EXPECT_NE(Failure(noise).find(noise + ": not a readable bitmap ("), std::string::npos)
      << Failure(noise);

  const std::string missing = (dir_ / "missing.bmp").string();
  EXPECT_EQ(Failure(missing), missing + ": cannot be read (No such file or directory)");
  fs::create_directories(dir_ / "folder.bmp");
  const std::string folder = (dir_ / "folder.bmp").string();
  EXPECT_EQ(Failure(folder), folder + ": cannot be read (not a file)");
}

#if !defined(_WIN32)
// A FIFO or a device where the picture should be is refused at once: opening it the usual way
// would wait for a writer that never comes.
TEST_F(BitmapFile, AFifoOrADeviceIsNoFileAndIsRefusedAtOnce) {
  const std::string fifo = (dir_ / "fifo.bmp").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(Failure(fifo), fifo + ": cannot be read (not a file)");
  EXPECT_EQ(Failure("/dev/zero"), "/dev/zero: cannot be read (not a file)");
}

// Another program swaps the picture for a FIFO and back while it is read: each read gives the
// whole picture, or refuses the FIFO as no file, and none waits in the FIFO's open.
TEST_F(BitmapFile, AFifoSwappedInWhileThePictureIsReadNeverHoldsTheReader) {
  const std::string picture = (dir_ / "face.bmp").string();
  const SwappedReads swapped = ReadWhileSwapped(
      dir_.string(), picture, Write("file", kPicture), 3000,
      [&picture] { return Failure(picture); }, picture + ": cannot be read (not a file)");
  EXPECT_GE(swapped.reads, 3000);
  EXPECT_GT(swapped.whole, 0);
  EXPECT_GT(swapped.refused, 0);
  EXPECT_TRUE(swapped.otherwise.empty())
      << swapped.otherwise.size()
      << " reads failed otherwise, the first: " << swapped.otherwise.front();
}
#endif

}  // namespace
}  // namespace ombrevale
