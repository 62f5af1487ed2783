#include "backends/win32/WinPictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/backends/win32/PictureHashes.h"

namespace ombrevale {
namespace {

// The pictures of dat/ and of the picture fuzzer's seeds, every format the program reads and a
// range of broken files, decode to the very pixels the Linux reader gives, or are refused alike.
TEST(WinPictures, DecodeEveryFileToTheLinuxReadersPixels) {
  const std::filesystem::path source = OMBREVALE_SOURCE_DIR;
  std::ifstream expected(source / "tests/backends/win32/picture-hashes.txt");
  ASSERT_TRUE(expected) << "tests/backends/win32/picture-hashes.txt is missing";
  std::string line;
  int compared = 0;
  while (std::getline(expected, line)) {
    const std::string name = line.substr(0, line.find(' '));
    if (!std::filesystem::exists(source / name)) continue;  // a seed since removed
    WinPictureReader reader;
    EXPECT_EQ(PictureLine(reader, (source / name).string(), name), line);
    ++compared;
  }
  EXPECT_GE(compared, 21);  // dat/ at least
}

TEST(WinPictures, OnlyAnOrdinaryFileIsThereAndAMissingOneIsAFatalErrorNamingIt) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / "ombrevale-win-pictures";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "folder.bmp");
  std::ofstream(dir / "a.bmp") << "x";
  WinPictureReader reader;
  EXPECT_EQ(reader.FileExists((dir / "a.bmp").string()), (dir / "a.bmp").string());
  EXPECT_EQ(reader.FileExists((dir / "folder.bmp").string()), "");
  EXPECT_EQ(reader.FileExists((dir / "missing.bmp").string()), "");
  try {
    reader.LoadPicture((dir / "a.bmp").string());
    ADD_FAILURE() << "a one-byte file was read as a picture";
  } catch (const FatalError& e) {
    EXPECT_EQ(
        std::string(e.what()),
        (dir / "a.bmp").string() + ": not a readable bitmap (too short to be a bitmap (1 bytes))");
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace ombrevale
