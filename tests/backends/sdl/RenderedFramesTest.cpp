// The title vision's frames for a fixed seed and date-time text, from the pictures of dat/, hash to
// the values committed in rendered-frames.txt. Any change to drawing, to the order of the random
// draws, to the clock or to the art shows up here. The first frame that differs is written as a
// PNG file, with the frame before it, into rendered-frames/ of the test's build folder, for a
// reviewer to open. When the change is intended, remake the file:
//
//   OMBREVALE_REMAKE_FRAME_HASHES=1 build/tests/backends/sdl/ombrevale_sdl_tests
//   --gtest_filter='RenderedFrames.*'

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "backends/sdl/pictures/PngFile.h"
#include "tools/Render.h"

namespace ombrevale {
namespace {

const std::string kHashFile =
    std::string(OMBREVALE_SOURCE_DIR) + "/tests/reference/rendered-frames.txt";
// Where the first frame that differs is written, emptied at every run.
const std::filesystem::path kShownDir =
    std::filesystem::path(OMBREVALE_BINARY_DIR) / "rendered-frames";

// FNV-1a over the pixels, 64 bits: a change of any pixel changes it.
std::string Hash(const Surface& frame) {
  uint64_t h = 14695981039346656037ull;
  for (Pixel p : frame.Pixels()) {
    for (int byte = 0; byte < 3; ++byte) {
      h ^= (p >> (8 * byte)) & 0xFF;
      h *= 1099511628211ull;
    }
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

// Writes frame `index` as rendered-frames/frame-NNNN.png and returns its path.
std::string Show(int index, const Surface& frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%04d.png", index);
  const std::string path = (kShownDir / name).string();
  WritePng(path, frame);
  return path;
}

// Works in the repository root, where dat/ is, and goes back afterwards.
class InSourceTree {
 public:
  InSourceTree() {
    char* here = getcwd(nullptr, 0);
    old_ = here ? here : ".";
    std::free(here);
    EXPECT_EQ(chdir(OMBREVALE_SOURCE_DIR), 0);
  }
  ~InSourceTree() { (void)!chdir(old_.c_str()); }

 private:
  std::string old_;
};

TEST(RenderedFrames, HashToTheCommittedValues) {
  // 8 seconds at 50 frames a second: layer changes, blinks and the clock's ticks, across a
  // minute and an hour turning.
  // Seen at the natural size, through the flash limit, as the program shows them there.
  const RenderOptions options{20021, 400, {2026, 12, 7, 16, 59, 57}, 1, true};
  const bool remake = std::getenv("OMBREVALE_REMAKE_FRAME_HASHES") != nullptr;

  std::vector<std::string> committed;
  if (!remake) {
    std::ifstream in(kHashFile);
    ASSERT_TRUE(in) << "no " << kHashFile << ": remake it (see the top of this file)";
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      int index = 0;
      std::string hash;
      fields >> index >> hash;
      committed.push_back(hash);
    }
  }

  std::filesystem::remove_all(kShownDir);
  std::vector<std::string> hashes;
  std::string shown;  // the first frame that differs, and the one before it, as PNG files
  {
    InSourceTree root;
    Surface previous;
    RenderFrames(options, [&](int i, const Surface& frame) {
      hashes.push_back(Hash(frame));
      const size_t at = hashes.size() - 1;
      if (shown.empty() && at < committed.size() && hashes[at] != committed[at]) {
        std::filesystem::create_directories(kShownDir);
        shown = "\n  it is " + Show(i, frame);
        if (i > 0) shown += "\n  the frame before it, as committed, is " + Show(i - 1, previous);
      }
      previous = frame;
    });
  }

  if (remake) {
    std::ofstream out(kHashFile);
    for (size_t i = 0; i < hashes.size(); ++i) out << i << ' ' << hashes[i] << '\n';
    GTEST_SKIP() << "remade " << kHashFile;
  }

  ASSERT_EQ(committed.size(), hashes.size());
  for (size_t i = 0; i < hashes.size(); ++i) {
    ASSERT_EQ(hashes[i], committed[i])
        << "frame " << i << " differs: the first of the frames "
        << "whose drawing, random order, clock or art changed" << shown;
  }
}

}  // namespace
}  // namespace ombrevale
