// The check of a bitmap's headers before any decoding: what it lets through, with the format it
// read, and the bombs and lies it refuses.

#include "platform/bitmap/BitmapHeader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace ombrevale {
namespace {

// A BMP header with a 40-byte info header.
std::vector<uint8_t> Header(int32_t w, int32_t h, uint16_t bits, uint32_t compression = 0,
                            uint32_t offset = 54, uint32_t imageSize = 0) {
  std::vector<uint8_t> b(54, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(10, offset);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  b[26] = 1;
  b[28] = static_cast<uint8_t>(bits);
  put32(30, compression);
  put32(34, imageSize);
  return b;
}

// Whether the check refuses the file.
bool Refused(const std::vector<uint8_t>& head, uint64_t fileSize) {
  const CheckedBitmap checked = CheckBitmapHeader(head, fileSize);
  EXPECT_EQ(checked.format.has_value(), checked.refusal.empty());
  return !checked.format;
}

TEST(CheckBitmapHeader, AcceptsWhatFitsAndRefusesBombsAndLies) {
  // 3 x 2 at 24 bits: rows of 12 bytes (9 padded to 4), 24 bytes of pixels.
  EXPECT_FALSE(Refused(Header(3, 2, 24), 54 + 24));
  EXPECT_FALSE(Refused(Header(4096, 4096, 1), 54 + 4096 * 512));
  // A header that promises more pixels than the file holds.
  EXPECT_TRUE(Refused(Header(3, 2, 24), 54 + 23));
  // The bombs: a 2 KB file claiming 20000 x 20000, and one claiming 60000 x 60000.
  const CheckedBitmap bomb = CheckBitmapHeader(Header(20000, 20000, 24), 2000);
  ASSERT_FALSE(bomb.format);
  EXPECT_NE(bomb.refusal.find("20000 x 20000"), std::string::npos) << bomb.refusal;
  EXPECT_TRUE(Refused(Header(60000, 60000, 32), 2000));
  EXPECT_TRUE(Refused(Header(4097, 1, 24), 1u << 20));
  EXPECT_TRUE(Refused(Header(1, INT32_MIN, 24), 1u << 20));
  EXPECT_TRUE(Refused(Header(0, 5, 24), 1u << 20));
  EXPECT_TRUE(Refused(Header(-5, 5, 24), 1u << 20));
  EXPECT_TRUE(Refused(Header(4, 4, 7), 1u << 20));                 // no such depth
  EXPECT_TRUE(Refused(Header(4, 4, 24, 4), 1u << 20));             // an embedded JPEG
  EXPECT_TRUE(Refused(Header(4, 4, 24, 0, 9), 1u << 20));          // pixels inside the header
  EXPECT_TRUE(Refused(Header(4, 4, 24, 0, 4000), 100));            // pixels after the end
  EXPECT_FALSE(Refused(Header(4, 4, 8, 1, 1078, 40), 1078 + 40));  // RLE8
  EXPECT_TRUE(Refused(Header(4, 4, 8, 1, 1078, 4000), 1078 + 40));
  EXPECT_TRUE(Refused(Header(4, -4, 8, 1, 1078, 40), 1078 + 40));  // RLE is bottom-up
  // Not a bitmap at all, or too short to tell.
  EXPECT_TRUE(Refused(std::vector<uint8_t>(54, 'x'), 54));
  EXPECT_TRUE(Refused(std::vector<uint8_t>{'B', 'M'}, 2));
  EXPECT_TRUE(Refused({}, 0));
}

TEST(CheckBitmapHeader, GivesTheFormatEveryReaderDecodesBy) {
  // Top-down: the rows are counted all the same in the size the headers claim.
  const CheckedBitmap topDown = CheckBitmapHeader(Header(3, -2, 24), 54 + 24);
  ASSERT_TRUE(topDown.format);
  EXPECT_EQ(topDown.format->size.width, 3);
  EXPECT_EQ(topDown.format->size.height, 2);
  EXPECT_FALSE(topDown.format->bottomUp);
  EXPECT_EQ(topDown.format->bits, 24);
  EXPECT_EQ(topDown.format->colours, 0u);
  EXPECT_EQ(topDown.format->pixelOffset, 54u);

  // A palette picture uses as many colours as it says, never more than its bits can name; 0
  // means all of them.
  std::vector<uint8_t> palette = Header(4, 4, 4, 0, 54 + 16 * 4);
  palette[46] = 5;
  const CheckedBitmap four = CheckBitmapHeader(palette, 54 + 64 + 16);
  ASSERT_TRUE(four.format);
  EXPECT_TRUE(four.format->bottomUp);
  EXPECT_EQ(four.format->colours, 5u);
  palette[46] = 0;
  EXPECT_EQ(CheckBitmapHeader(palette, 54 + 64 + 16).format->colours, 16u);
  palette[46] = 200;
  EXPECT_EQ(CheckBitmapHeader(palette, 54 + 64 + 16).format->colours, 16u);

  // 16 bits: 5-5-5 unless bit fields follow the header, which then give the masks.
  const CheckedBitmap plain16 = CheckBitmapHeader(Header(2, 2, 16), 54 + 8);
  ASSERT_TRUE(plain16.format);
  EXPECT_EQ(plain16.format->masks[0], 0x7C00u);
  EXPECT_EQ(plain16.format->masks[1], 0x03E0u);
  EXPECT_EQ(plain16.format->masks[2], 0x001Fu);
  std::vector<uint8_t> fields = Header(2, 2, 16, 3, 66);
  fields.resize(66);
  const uint32_t masks[3] = {0xF800, 0x07E0, 0x001F};
  for (size_t i = 0; i < 3; ++i)
    for (size_t b = 0; b < 4; ++b)
      fields[54 + 4 * i + b] = static_cast<uint8_t>(masks[i] >> (8 * b));
  const CheckedBitmap rgb565 = CheckBitmapHeader(fields, 66 + 8);
  ASSERT_TRUE(rgb565.format);
  EXPECT_EQ(rgb565.format->compression, kBitmapBitFields);
  EXPECT_EQ(rgb565.format->masks[0], 0xF800u);
  EXPECT_EQ(rgb565.format->masks[1], 0x07E0u);
  EXPECT_EQ(rgb565.format->masks[2], 0x001Fu);
  EXPECT_EQ(rgb565.format->pixelOffset, 66u);
}

}  // namespace
}  // namespace ombrevale
