#include "backends/win32/PagePicture.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "backends/win32/Utf16.h"
#include "platform/FatalError.h"
#include "platform/PageLayout.h"
#include "platform/scale/Scaler.h"

namespace ombrevale {
namespace {

BITMAPINFO PageFormat() {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kPageWidth;
  info.bmiHeader.biHeight = -kPageHeight;  // rows top-down, as a Surface holds them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

COLORREF ToColorRef(Pixel p) {
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// Copies the part of `from` at (x, y) that lies on the page.
void CopyOnto(Pixel* page, const Surface& from, int x, int y) {
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + from.Width(), kPageWidth);
  const int y1 = std::min(y + from.Height(), kPageHeight);
  if (x0 >= x1 || y0 >= y1) return;
  for (int row = y0; row < y1; ++row) {
    std::memcpy(page + static_cast<size_t>(row) * kPageWidth + x0, from.Row(row - y) + (x0 - x),
                static_cast<size_t>(x1 - x0) * sizeof(Pixel));
  }
}

}  // namespace

PagePicture::PagePicture() {
  const BITMAPINFO info = PageFormat();
  dc_ = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dc_ == nullptr || bitmap_ == nullptr || bits == nullptr)
    throw FatalError("The window could not make its page picture");
  pixels_ = static_cast<Pixel*>(bits);
  std::fill(pixels_, pixels_ + kPageWidth * kPageHeight, Pixel{0});
  oldBitmap_ = SelectObject(dc_, bitmap_);
  SetBkMode(dc_, TRANSPARENT);
}

PagePicture::~PagePicture() {
  SelectObject(dc_, oldBitmap_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

Pixel PagePicture::At(int x, int y) const {
  GdiFlush();
  return pixels_[static_cast<size_t>(y) * kPageWidth + x] & 0x00FFFFFF;
}

void PagePicture::Compose(const Scene& scene) {
  GdiFlush();  // GDI's text is drawn before the pixels are written over
  // The canvas is copied whole every frame, so the chrome is needed only where it changed; where
  // a canvas is missing the chrome shows, so it is copied then too.
  if (scene.chrome != nullptr &&
      (scene.chromeRevision != chromeRevision_ || scene.canvas == nullptr)) {
    CopyOnto(pixels_, *scene.chrome, 0, 0);
    chromeRevision_ = scene.chromeRevision;
  }
  if (scene.canvas != nullptr) CopyOnto(pixels_, *scene.canvas, scene.canvasX, scene.canvasY);
  for (const LabelView& view : scene.labels) DrawLabel(view);
  GdiFlush();
}

void PagePicture::DrawLabel(const LabelView& view) {
  if (view.label == nullptr || view.label->Caption.empty()) return;
  const Label& label = *view.label;
  HFONT font = fonts_.Open(label.Face);
  if (font == nullptr) return;
  // Clipped to the label's box, except that the text may run on past its right edge to the
  // page's: the face the mapper chooses may be a little wider than the one the box was laid out
  // for, and the clock's last digit must stay whole.
  const Rect& at = view.box;
  RECT box{at.x, at.y, std::max(at.x + at.w, kPageWidth), at.y + at.h};
  const HGDIOBJ old = SelectObject(dc_, font);
  SetTextColor(dc_, ToColorRef(label.ForeColor));
  std::wstring text = Widen(label.Caption);
  DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &box, DT_LEFT | DT_TOP | DT_NOPREFIX);
  SelectObject(dc_, old);
}

void PagePicture::Paint(HDC dc, int width, int height) const {
  const WholeFactorFit fit = FitWholeFactor(width, height, kPageWidth, kPageHeight);
  const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  // The border around the page, in at most four strips, so that the page itself never flashes.
  const RECT strips[] = {{0, 0, width, fit.y},
                         {0, fit.y + fit.height, width, height},
                         {0, fit.y, fit.x, fit.y + fit.height},
                         {fit.x + fit.width, fit.y, width, fit.y + fit.height}};
  for (const RECT& strip : strips)
    if (strip.right > strip.left && strip.bottom > strip.top) FillRect(dc, &strip, black);
  if (fit.factor == 1) {
    ::BitBlt(dc, fit.x, fit.y, kPageWidth, kPageHeight, dc_, 0, 0, SRCCOPY);
    return;
  }
  const BITMAPINFO info = PageFormat();
  GdiFlush();
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, fit.x, fit.y, fit.width, fit.height, 0, 0, kPageWidth, kPageHeight, pixels_,
                &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace ombrevale
