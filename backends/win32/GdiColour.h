#pragma once

// Colours between the program's pixels (0x00RRGGBB) and GDI's own (0x00BBGGRR).

#include "backends/win32/WindowsApi.h"
#include "platform/Surface.h"

namespace ombrevale {

inline COLORREF ToColorRef(Pixel p) {
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

inline Pixel FromColorRef(COLORREF c) {
  return Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

}  // namespace ombrevale
