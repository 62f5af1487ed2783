#include "backends/win32/PngFile.h"

#include <array>
#include <cstdio>
#include <filesystem>

#include "platform/FatalError.h"

namespace ombrevale {
namespace {

// Deflate's stored blocks hold at most this many bytes each.
constexpr size_t kStoredBlock = 65535;

uint32_t Crc32(const uint8_t* bytes, size_t size, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& bytes) {
  uint32_t a = 1, b = 0;
  for (const uint8_t byte : bytes) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// A chunk: its length, its type and data, and the CRC of those two.
void PutChunk(std::vector<uint8_t>& out, const char (&type)[5], const std::vector<uint8_t>& data) {
  PutBig32(out, static_cast<uint32_t>(data.size()));
  const size_t from = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBig32(out, Crc32(out.data() + from, out.size() - from));
}

// The picture's rows as PNG filters them (each led by filter 0, none), as RGB bytes.
std::vector<uint8_t> Scanlines(const Surface& picture) {
  std::vector<uint8_t> rows;
  rows.reserve(static_cast<size_t>(picture.Height()) * (1 + 3 * picture.Width()));
  for (int y = 0; y < picture.Height(); ++y) {
    rows.push_back(0);
    for (int x = 0; x < picture.Width(); ++x) {
      const Pixel p = picture.At(x, y);
      rows.insert(rows.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                               static_cast<uint8_t>(p)});
    }
  }
  return rows;
}

// A zlib stream of `raw` in stored blocks.
std::vector<uint8_t> Stored(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out = {0x78, 0x01};
  size_t at = 0;
  do {
    const size_t size = std::min(kStoredBlock, raw.size() - at);
    const bool last = at + size == raw.size();
    out.push_back(last ? 1 : 0);
    const auto length = static_cast<uint16_t>(size);
    for (const uint16_t v : {length, static_cast<uint16_t>(~length)}) {
      out.push_back(static_cast<uint8_t>(v));
      out.push_back(static_cast<uint8_t>(v >> 8));
    }
    out.insert(out.end(), raw.begin() + static_cast<ptrdiff_t>(at),
               raw.begin() + static_cast<ptrdiff_t>(at + size));
    at += size;
  } while (at < raw.size());
  PutBig32(out, Adler32(raw));
  return out;
}

}  // namespace

std::vector<uint8_t> PngBytes(const Surface& picture) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBig32(header, static_cast<uint32_t>(picture.Width()));
  PutBig32(header, static_cast<uint32_t>(picture.Height()));
  // 8 bits a sample, RGB, deflate, adaptive filtering, no interlace.
  header.insert(header.end(), {8, 2, 0, 0, 0});
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", Stored(Scanlines(picture)));
  PutChunk(out, "IEND", {});
  return out;
}

void WritePngFile(const std::string& path, const Surface& picture) {
  const std::vector<uint8_t> bytes = PngBytes(picture);
  const std::filesystem::path file(std::u8string(path.begin(), path.end()));
  std::FILE* out = _wfopen(file.c_str(), L"wb");
  if (out == nullptr) throw FatalError("cannot write " + path);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  if (std::fclose(out) != 0 || !written) throw FatalError("cannot write " + path);
}

}  // namespace ombrevale
