#pragma once

// One line per picture file: its name, and the size and a hash of its pixels as a reader decoded
// them, or "refused"; so that the pictures the Linux reader decodes can be compared pixel for
// pixel with those the Windows reader decodes, on the same files.

#include <cstdint>
#include <string>

#include "platform/FatalError.h"
#include "platform/Pictures.h"

namespace ombrevale {

inline uint64_t PixelHash(const Surface& s) {
  uint64_t h = 14695981039346656037ull;  // FNV-1a, 64 bits
  const auto mix = [&h](uint32_t v) {
    for (int i = 0; i < 4; ++i) {
      h ^= (v >> (8 * i)) & 0xFF;
      h *= 1099511628211ull;
    }
  };
  mix(static_cast<uint32_t>(s.Width()));
  mix(static_cast<uint32_t>(s.Height()));
  for (Pixel p : s.Pixels()) mix(p);
  return h;
}

// "NAME WxH HASH" or "NAME refused".
inline std::string PictureLine(PictureReader& reader, const std::string& path,
                               const std::string& name) {
  try {
    const Surface s = reader.LoadPicture(path);
    char text[64];
    std::snprintf(text, sizeof text, " %dx%d %016llx", s.Width(), s.Height(),
                  static_cast<unsigned long long>(PixelHash(s)));
    return name + text;
  } catch (const FatalError&) {
    return name + " refused";
  }
}

}  // namespace ombrevale
