// Packs the pictures of dat/ for the web page's site, at build time: each uncompressed 24-bit
// bitmap is written with its black left out (platform/bitmap/Rgb24Runs.h), any other file as it
// is, under the same name in the folder given.
//
//   ombrevale-pack-pictures OUT_DIR FILE...   (each FILE a path such as dat/face.bmp)

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <vector>

#include "platform/bitmap/BitmapHeader.h"
#include "platform/bitmap/Rgb24Rows.h"
#include "platform/bitmap/Rgb24Runs.h"

namespace {

bool Pack(const std::filesystem::path& out, const std::filesystem::path& name) {
  std::ifstream in(name, std::ios::binary);
  std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.good() && !in.eof()) return false;
  const ombrevale::CheckedBitmap checked = ombrevale::CheckBitmapHeader(file, file.size());
  if (checked.format && ombrevale::IsRgb24(*checked.format))
    file = ombrevale::EncodeRgb24Runs(*checked.format, file);
  const std::filesystem::path target = out / name;
  std::filesystem::create_directories(target.parent_path());
  std::ofstream packed(target, std::ios::binary | std::ios::trunc);
  packed.write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
  return packed.good();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: ombrevale-pack-pictures OUT_DIR FILE...\n", stderr);
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    if (!Pack(argv[1], argv[i])) {
      std::fprintf(stderr, "ombrevale-pack-pictures: %s could not be packed\n", argv[i]);
      return 1;
    }
  }
  return 0;
}
