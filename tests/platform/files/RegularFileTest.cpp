// Opening a file the program reads whole: what is missing, what is no ordinary file, and reading
// the rest of a file up to a limit.

#include "platform/files/RegularFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace ombrevale {
namespace {

namespace fs = std::filesystem;

TEST(RegularFile, TellsAMissingFileFromOneThatIsNoFileAndReadsUpToItsLimit) {
  const fs::path dir = fs::temp_directory_path() / ("ombrevale-files-" + std::to_string(getpid()));
  fs::create_directories(dir / "folder");
  const std::vector<uint8_t> bytes = {1, 2, 3, 4, 5, 6, 7};
  std::ofstream(dir / "seven", std::ios::binary).write("\1\2\3\4\5\6\7", 7);

  for (const fs::path& missing : {dir / "none", dir / "seven" / "below", fs::path()}) {
    const RegularFile file(missing.string());
    EXPECT_FALSE(file.IsOpen()) << missing;
    EXPECT_TRUE(file.Missing()) << missing;
  }
  EXPECT_EQ(RegularFile((dir / "none").string()).Why(), "No such file or directory");
  std::vector<std::string> notFiles = {(dir / "folder").string()};
#if !defined(_WIN32)
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  notFiles.insert(notFiles.end(), {(dir / "fifo").string(), "/dev/null"});
#endif
  for (const std::string& path : notFiles) {
    const RegularFile file(path);
    EXPECT_FALSE(file.IsOpen()) << path;
    EXPECT_FALSE(file.Missing()) << path;
    EXPECT_EQ(file.Why(), "not a file") << path;
  }

  // Each file read is closed before the folder goes: Windows removes no file that is open.
  {
    std::vector<uint8_t> read;
    EXPECT_TRUE(RegularFile((dir / "seven").string()).ReadRest(read, 7));
    EXPECT_EQ(read, bytes);
    RegularFile larger((dir / "seven").string());
    EXPECT_EQ(larger.Size(), 7u);
    EXPECT_FALSE(larger.ReadRest(read, 6));
    EXPECT_EQ(larger.Why(), "it is larger than 6 bytes");

    // Reads go on from where the last one ended, and not past the end.
    RegularFile pieces((dir / "seven").string());
    uint8_t head[3] = {};
    ASSERT_TRUE(pieces.Read(head, 3));
    EXPECT_EQ(head[2], 3);
    ASSERT_TRUE(pieces.ReadRest(read, 100));
    EXPECT_EQ(read, std::vector<uint8_t>(bytes.begin() + 3, bytes.end()));
    EXPECT_FALSE(pieces.Read(head, 1));
    EXPECT_EQ(pieces.Why(), "it ended before its size");
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace ombrevale
