#pragma once

// The product's rectangle as GDI takes it: its left, top, right and bottom edges.

#include "backends/win32/WindowsApi.h"
#include "platform/Rect.h"

namespace ombrevale {

inline RECT ToRect(const Rect& r) {
  return {r.x, r.y, r.x + r.w, r.y + r.h};
}

}  // namespace ombrevale
