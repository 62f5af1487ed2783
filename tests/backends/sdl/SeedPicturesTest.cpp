// The bitmaps of the picture fuzzer's seed corpus, read by the real loader: the same picture
// written with every kind of header, depth and row order reads the same, the small files that
// claim large pictures load only within the pictures' budget, and each near-valid file is
// refused with a FatalError that names it.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "backends/sdl/pictures/SdlPictures.h"
#include "platform/FatalError.h"

namespace ombrevale {
namespace {

const std::string kSeeds = std::string(OMBREVALE_SOURCE_DIR) + "/fuzz/corpus/fuzz_picture/";

Surface Load(const std::string& name) {
  SdlPictureReader reader;
  return reader.LoadPicture(kSeeds + name);
}

TEST(SeedPictures, EveryHeaderKindReadsTheSamePicture) {
  const std::vector<std::vector<std::string>> alike = {
      // 24 bits a pixel: bottom-up, top-down, the 12-byte header, the 124-byte header.
      {"rgb24.bmp", "rgb24-top-down.bmp", "core24.bmp", "v5-rgb24.bmp"},
      // 32 bits a pixel: plain, with colour masks after the header, with masks and alpha in it.
      {"rgb32.bmp", "rgb32-bitfields.bmp", "v4-rgb32-alpha.bmp"},
      // The same colour indices through palettes of 256, 16 and 256 three-byte entries, at 8 and
      // 4 bits a pixel.
      {"pal8.bmp", "pal8-16-colours.bmp", "core8.bmp", "pal4.bmp"},
  };
  for (const auto& group : alike) {
    const Surface first = Load(group[0]);
    EXPECT_EQ(first.Width(), 7);
    EXPECT_EQ(first.Height(), 5);
    for (size_t i = 1; i < group.size(); ++i) {
      EXPECT_EQ(Load(group[i]), first) << group[i] << " differs from " << group[0];
    }
  }
  // The other depths and run-length pictures read at their size.
  for (const char* name : {"pal1.bmp", "rgb16-555.bmp", "rgb16-565-bitfields.bmp", "rle8.bmp",
                           "rle4.bmp", "rle8-runs-off-the-picture.bmp"}) {
    const Surface s = Load(name);
    EXPECT_EQ(s.Width(), 7) << name;
    EXPECT_EQ(s.Height(), 5) << name;
  }
}

TEST(SeedPictures, RunLengthClaimsLoadAtTheirSizeOnlyWhileTheBudgetHoldsThem) {
  // Each alone fits the budget of one set of pictures; twice, only the half one does.
  for (const auto& [name, height, twice] :
       {std::tuple{"rle4-claims-4096-square.bmp", 4096, false},
        std::tuple{"rle8-claims-4096-by-2048.bmp", 2048, true},
        std::tuple{"rle4-claims-4096-by-2049.bmp", 2049, false}}) {
    SdlPictureReader reader;
    const Surface s = reader.LoadPicture(kSeeds + name);
    EXPECT_EQ(s.Width(), 4096) << name;
    EXPECT_EQ(s.Height(), height) << name;
    bool again = true;
    try {
      reader.LoadPicture(kSeeds + name);
    } catch (const FatalError&) {
      again = false;
    }
    EXPECT_EQ(again, twice) << name;
  }
}

TEST(SeedPictures, NearValidFilesAreRefusedByName) {
  for (const char* name :
       {"cut-short.bmp", "pixels-past-the-end.bmp", "claims-20000-square.bmp",
        "claims-4097-square-rle.bmp", "width-zero.bmp", "two-planes.bmp", "seven-bits.bmp",
        "jpeg-compression.bmp", "rle8-at-24-bits.bmp", "rle8-top-down.bmp", "unknown-header.bmp",
        "header-only.bmp", "pal8-pixel-outside-palette.bmp"}) {
    try {
      Load(name);
      ADD_FAILURE() << name << " was read";
    } catch (const FatalError& e) {
      EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace ombrevale
