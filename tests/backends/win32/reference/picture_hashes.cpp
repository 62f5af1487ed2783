// Writes tests/backends/win32/picture-hashes.txt: the pictures of dat/ and of the picture fuzzer's
// seeds as the Linux (SDL) reader decodes them, which the Windows reader's test compares with.
// Built by hand on Linux when those files change, from the source folder:
//   g++ -std=c++20 -I. -Ibuild/generated $(pkg-config --cflags sdl2)
//   tests/backends/win32/reference/picture_hashes.cpp \
//     backends/sdl/pictures/SdlPictures.cpp platform/bitmap/*.cpp platform/Surface.cpp $(pkg-config --libs
//     sdl2) \ -o /tmp/picture-hashes && /tmp/picture-hashes >
//     tests/backends/win32/picture-hashes.txt

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "backends/sdl/pictures/SdlPictures.h"
#include "tests/backends/win32/PictureHashes.h"

int main() {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  for (const char* folder : {"dat", "fuzz/corpus/fuzz_picture"})
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.is_regular_file()) names.push_back(entry.path().generic_string());
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    // A fresh reader for each file: the budget of one window's pictures plays no part.
    ombrevale::SdlPictureReader reader;
    std::printf("%s\n", ombrevale::PictureLine(reader, name, name).c_str());
  }
}
