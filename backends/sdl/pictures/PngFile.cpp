#include "backends/sdl/pictures/PngFile.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/FatalError.h"
#include "platform/files/WholeFile.h"

namespace ombrevale {

void WritePng(const std::string& path, const Surface& frame) {
  WholeFile whole(path);
  FILE* file = std::fopen(whole.Partial().c_str(), "wb");
  if (file == nullptr) throw FatalError("cannot write " + path + ": " + std::strerror(errno));
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    throw FatalError("cannot write " + path);
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, frame.Width(), frame.Height(), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<size_t>(frame.Width()) * 3);
  for (int y = 0; y < frame.Height(); ++y) {
    for (int x = 0; x < frame.Width(); ++x) {
      const Pixel p = frame.At(x, y);
      row[x * 3 + 0] = static_cast<png_byte>(p >> 16);
      row[x * 3 + 1] = static_cast<png_byte>(p >> 8);
      row[x * 3 + 2] = static_cast<png_byte>(p);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fclose(file) != 0) throw FatalError("cannot write " + path);
  whole.Keep();
}

}  // namespace ombrevale
