// A file given its name only once it is whole: until then the file that was there stays, and a
// file never finished leaves nothing.

#include "platform/files/WholeFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace ombrevale {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(WholeFile, ReplacesTheFileOnlyOnceItIsKeptAndLeavesNothingOtherwise) {
  const fs::path dir = fs::temp_directory_path() / ("ombrevale-whole-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path path = dir / "frame.png";
  std::ofstream(path) << "before";
  {
    WholeFile unfinished(path.string());
    std::ofstream(unfinished.Partial()) << "half";
    EXPECT_EQ(Read(path), "before");
  }
  EXPECT_EQ(Read(path), "before");
  EXPECT_FALSE(fs::exists(path.string() + ".part"));
  {
    WholeFile finished(path.string());
    std::ofstream(finished.Partial()) << "after";
    finished.Keep();
  }
  EXPECT_EQ(Read(path), "after");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace ombrevale
