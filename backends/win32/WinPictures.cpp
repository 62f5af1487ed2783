#include "backends/win32/WinPictures.h"

#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "backends/win32/DibSection.h"
#include "backends/win32/WindowsApi.h"
#include "platform/bitmap/BitmapFile.h"
#include "platform/bitmap/BitmapHeader.h"
#include "platform/bitmap/RowOverBlack.h"

namespace ombrevale {
namespace {

constexpr size_t kFileHeader = 14;

uint16_t ReadU16(const uint8_t* at) {
  uint16_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

// Whether an uncompressed palette picture uses a colour its palette does not have: the Linux
// reader refuses such a file, and so does this one, so that the same files load everywhere.
bool UsesColourOutsidePalette(const BitmapFormat& f, const uint8_t* pixels) {
  if (f.bits > 8 || f.compression != kBitmapRgb) return false;
  const PictureSize size = f.size;
  const size_t stride = BitmapRowBytes(size.width, f.bits);
  for (int y = 0; y < size.height; ++y) {
    const uint8_t* row = pixels + stride * y;
    for (int x = 0; x < size.width; ++x) {
      const size_t bit = static_cast<size_t>(x) * f.bits;
      const uint32_t index = (row[bit / 8] >> (8 - f.bits - bit % 8)) & ((1u << f.bits) - 1);
      if (index >= f.colours) return true;
    }
  }
  return false;
}

// One colour channel of a 16-bit pixel scaled to 8 bits, as the Linux reader scales it: the
// channel's largest value becomes 255, and the rest in proportion, rounded down (5 bits "30" is
// 246, where repeating the bits would give 247).
uint32_t Widen8(uint16_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const uint32_t largest = mask >> shift;
  return ((pixel & mask) >> shift) * 255 / largest;
}

// The green of a 5-6-5 pixel as the Linux reader gives it: it converts such pixels a byte at a
// time through tables, so the three green bits of each byte are scaled apart and the two parts
// added, which can be one below scaling the whole (47 gives 189, not 190).
uint32_t Green565(uint16_t pixel) {
  const uint32_t high = (pixel >> 8) & 0x07, low = (pixel >> 5) & 0x07;
  return (high << 3) * 255 / 63 + low * 255 / 63;
}

// 16-bit pixels, decoded here: the system widens their channels its own way.
Surface Decode16(const BitmapFormat& f, const uint8_t* pixels) {
  Surface picture(f.size.width, f.size.height);
  const bool is565 = f.masks[0] == 0xF800 && f.masks[1] == 0x07E0 && f.masks[2] == 0x001F;
  const size_t stride = BitmapRowBytes(picture.Width(), 16);
  for (int y = 0; y < picture.Height(); ++y) {
    const int stored = f.bottomUp ? picture.Height() - 1 - y : y;
    const uint8_t* from = pixels + stride * stored;
    Pixel* row = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x) {
      const uint16_t p = ReadU16(from + 2 * x);
      const uint32_t green = is565 ? Green565(p) : Widen8(p, f.masks[1]);
      row[x] = Widen8(p, f.masks[0]) << 16 | green << 8 | Widen8(p, f.masks[2]);
    }
  }
  return picture;
}

// Pixels the system's graphics interface decodes (every depth but 16 bits, and the run-length
// encodings) into a picture of its own in the layout of a Surface, then copied over fresh black,
// whose pages stay the system's where the picture is black.
Surface DecodeBySystem(const BitmapFormat& f, const uint8_t* info, const uint8_t* pixels,
                       const std::string& path) {
  const PictureSize size = f.size;
  const DibSection decoded(size.width, size.height);
  const HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr || !decoded.Made()) {
    if (dc != nullptr) DeleteDC(dc);
    BitmapTooLarge(path, "the system could not make room for its pixels");
  }
  const int rows = SetDIBits(dc, decoded.Bitmap(), 0, static_cast<UINT>(size.height), pixels,
                             reinterpret_cast<const BITMAPINFO*>(info), DIB_RGB_COLORS);
  DeleteDC(dc);
  if (rows <= 0) UnreadableBitmap(path, "the system could not decode its pixels");
  GdiFlush();

  Surface picture(size.width, size.height);
  for (int y = 0; y < size.height; ++y) {
    Pixel* from = decoded.Row(y);
    // A plain copy of the colours: an alpha channel in the file does not survive.
    for (int x = 0; x < size.width; ++x) from[x] &= 0x00FFFFFF;
    WriteRowOverBlack(picture.Row(y), from, size.width);
  }
  return picture;
}

}  // namespace

std::string WinPictureReader::FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) ? path : std::string();
}

// Two copies of a picture's pixels live at once: the file's bytes and the decoded picture.
Surface WinPictureReader::LoadPicture(const std::string& path) {
  BitmapFormat format;
  std::vector<uint8_t> file = ReadCheckedBitmapFile(path, format);
  const PictureSize size = format.size;
  if (auto refusal = budget_.Refusal(path, size.width, size.height))
    BitmapTooLarge(refusal->path, refusal->why);

  uint8_t* info = file.data() + kFileHeader;
  // Colour masks with an alpha mask after a 40-byte header: the system reads the three colour
  // masks there as ordinary bit fields, and the alpha is dropped anyway.
  if (format.compression == kBitmapAlphaBitFields) {
    const uint32_t bitFields = BI_BITFIELDS;
    std::memcpy(info + 16, &bitFields, sizeof bitFields);
  }
  const uint8_t* pixels = file.data() + format.pixelOffset;
  if (UsesColourOutsidePalette(format, pixels))
    UnreadableBitmap(path, "a pixel of a colour outside its palette");
  Surface picture =
      format.bits == 16 ? Decode16(format, pixels) : DecodeBySystem(format, info, pixels, path);
  budget_.Charge(path, size.width, size.height);
  return picture;
}

}  // namespace ombrevale
