#pragma once

// The page area as the window shows it: a 404 x 304 picture of the system's own (a DIB section)
// that the scene's chrome, canvas and labels are composed into, and from which the window's
// client area is painted, scaled by whole factors and centred on black.

#include <cstdint>

#include "backends/win32/LabelFont.h"
#include "backends/win32/WindowsApi.h"
#include "platform/Desktop.h"

namespace ombrevale {

class PagePicture {
 public:
  PagePicture();
  ~PagePicture();
  PagePicture(const PagePicture&) = delete;
  PagePicture& operator=(const PagePicture&) = delete;

  // Composes the scene: the chrome when it changed, the canvas, then the labels over it.
  void Compose(const Scene& scene);
  // Paints the client area of `width` x `height` pixels on `dc`: the page at the largest whole
  // factor, nearest-neighbour, centred, the border black.
  void Paint(HDC dc, int width, int height) const;

  // The composed page, 0x00RRGGBB, rows top-down.
  Pixel At(int x, int y) const;

 private:
  void DrawLabel(const LabelView& view);

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  Pixel* pixels_ = nullptr;
  uint64_t chromeRevision_ = ~uint64_t{0};
  LabelFonts fonts_;
};

}  // namespace ombrevale
