// Feeds arbitrary bytes to the window's picture loading, as a file in dat/: the file-existence
// test, the header check, the pictures' budget, then SDL's decoder. Refusing the file with a
// FatalError is the right answer to a broken bitmap; a crash, a sanitizer report, a huge
// allocation or a hang is a fault. A picture that loads must be sane and usable by the blitter,
// and load again the same while the budget lasts.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/App.h"
#include "backends/headless/Headless.h"
#include "backends/headless/RecordingMedia.h"
#include "backends/sdl/pictures/SdlPictures.h"
#include "platform/FatalError.h"
#include "platform/bitmap/BitmapHeader.h"
#include "platform/bitmap/PictureBudget.h"
#include "platform/raster/BitBlt.h"

namespace {

using namespace ombrevale;

std::filesystem::path workDir;
std::string picturePath;  // the bitmap in the private dat/ folder

void RemoveWorkDir() {
  std::error_code ignored;
  std::filesystem::remove_all(workDir, ignored);
}

// The program on the headless backend, except for the pictures, which come from real files. A
// fresh one for each input, as each start of the program has its pictures' budget whole.
struct Program {
  FakeClock clock;
  ScriptedRandom random;
  HeadlessDesktop desktop{clock};
  RecordingMedia media;
  SdlPictureReader pictures;
  Platform platform{clock, random, desktop, media, pictures};
  App app{platform};
};

[[noreturn]] void Fault(const char* what) {
  std::fprintf(stderr, "fuzz_picture: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A private folder, so that its dat/ is ours alone, whoever else runs in parallel. The path is
  // absolute so that the working folder stays where libFuzzer's own paths expect it.
  std::string dir = (std::filesystem::temp_directory_path() / "ombrevale-fuzz-XXXXXX").string();
  if (mkdtemp(dir.data()) == nullptr) Fault("cannot make a temporary folder");
  workDir = dir;
  std::filesystem::create_directory(workDir / "dat");
  picturePath = (workDir / "dat" / "noise.bmp").string();
  std::atexit(RemoveWorkDir);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Program program;
  Form1& form = program.app.form;
  std::ofstream(picturePath, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

  try {
    form.LoadPictureIfExists(form.PicNoise, picturePath);
  } catch (const FatalError&) {
    return 0;  // a clean refusal
  }

  const Surface& picture = form.PicNoise.Image;
  if (picture.Width() < 1 || picture.Height() < 1 || picture.Width() > kMaxPictureSide ||
      picture.Height() > kMaxPictureSide) {
    Fault("a picture outside the sizes the header check allows");
  }
  if (picture.Pixels().size() !=
      static_cast<size_t>(picture.Width()) * static_cast<size_t>(picture.Height())) {
    Fault("a picture whose pixels do not match its size");
  }
  for (Pixel p : picture.Pixels()) {
    if ((p & 0xFF000000u) != 0) Fault("a pixel with bits above its colour");
  }
  const uint64_t bytes = PictureBudget::Bytes(picture.Width(), picture.Height());
  if (program.pictures.Budget().Left() != kPictureBudgetBytes - bytes) {
    Fault("the budget was not charged with the picture's pixels");
  }

  // The title canvas reads the picture with every raster operation, clipped at its edges.
  Surface canvas(400, 300);
  for (uint32_t rop : {0xCC0020u, 0xEE0086u, 0x8800C6u, 0x660046u}) {
    BitBlt(canvas, 1, 2, 400, 300, picture, 0, 0, rop);
  }

  // The same file for a second control: the same picture while the budget holds both, else a
  // refusal that leaves the budget as it was.
  const bool fits = 2 * bytes <= kPictureBudgetBytes;
  try {
    form.LoadPictureIfExists(form.PicBlack, picturePath);
  } catch (const FatalError&) {
    if (fits) Fault("a picture that fits the budget twice was refused the second time");
    if (program.pictures.Budget().Left() != kPictureBudgetBytes - bytes) {
      Fault("a refused picture took from the budget");
    }
    return 0;
  }
  if (!fits) Fault("two pictures passed the budget");
  if (form.PicBlack.Image != picture) Fault("the same file read twice gave two pictures");
  return 0;
}
