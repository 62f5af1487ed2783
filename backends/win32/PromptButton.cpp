#include "backends/win32/PromptButton.h"

#include <algorithm>
#include <string>

#include "backends/win32/GdiColour.h"
#include "backends/win32/GdiRect.h"
#include "backends/win32/Utf16.h"
#include "platform/Bevel.h"

namespace ombrevale {
namespace {

// A push button of the system's dialogs at the natural size: at least 75 x 23 pixels, its caption
// with room on either side; the note a little below it.
constexpr int kMinWidth = 75, kMinHeight = 23, kCaptionRoomX = 12, kCaptionRoomY = 4;
constexpr int kNoteGap = 6, kNoteRoom = 4;
// The note on a band of black a little larger than it, so that it reads over whatever the vision
// shows.
constexpr Pixel kNoteText = Rgb(255, 255, 255), kNoteBand = Rgb(0, 0, 0);

// Shown pixels in whole natural ones, rounded up.
int Natural(int shown, int factor) {
  return (shown + factor - 1) / factor;
}

void Fill(HDC dc, const Rect& area, COLORREF colour) {
  const RECT r = ToRect(area);
  SetDCBrushColor(dc, colour);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// The button's two edges inside `box` (natural pixels), each line `factor` pixels thick: lit above
// and dark below, or the other way round while it is pressed.
void DrawEdges(HDC dc, const Rect& box, int factor, bool pressed) {
  const Pixel lit = FromColorRef(GetSysColor(COLOR_BTNHIGHLIGHT));
  const Pixel light = FromColorRef(GetSysColor(COLOR_3DLIGHT));
  const Pixel shadow = FromColorRef(GetSysColor(COLOR_BTNSHADOW));
  const Pixel dark = FromColorRef(GetSysColor(COLOR_3DDKSHADOW));
  const auto outer = pressed ? EdgeLines(box, shadow, lit) : EdgeLines(box, lit, dark);
  const auto inner =
      pressed ? EdgeLines(box.Inset(1), dark, light) : EdgeLines(box.Inset(1), light, shadow);
  for (const auto* edge : {&outer, &inner})
    for (const EdgeLine& e : *edge) Fill(dc, e.line.Scaled(factor), ToColorRef(e.color));
}

SIZE TextSize(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

void DrawCentred(HDC dc, const std::wstring& text, const Rect& area) {
  RECT r = ToRect(area);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// The note centred under the button `box` (natural pixels), on its band, in the font selected.
void DrawNote(HDC dc, const std::wstring& note, const Rect& box, int factor) {
  const SIZE text = TextSize(dc, note);
  const int w = Natural(text.cx, factor) + 2 * kNoteRoom, h = Natural(text.cy, factor) + kNoteRoom;
  const Rect band{box.x + (box.w - w) / 2, box.y + box.h + kNoteGap, w, h};
  Fill(dc, band.Scaled(factor), ToColorRef(kNoteBand));
  SetTextColor(dc, ToColorRef(kNoteText));
  DrawCentred(dc, note, band.Scaled(factor));
}

}  // namespace

PromptButton::~PromptButton() {
  for (auto& [factor, font] : fonts_) DeleteObject(font);
}

HFONT PromptButton::FontAt(int factor) {
  if (auto found = fonts_.find(factor); found != fonts_.end()) return found->second;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  HFONT font = nullptr;
  if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                 static_cast<UINT>(96 * factor)))
    font = CreateFontIndirectW(&metrics.lfMessageFont);
  // A stock font is the system's to keep: it is not kept here.
  if (font == nullptr) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts_.emplace(factor, font);
  return font;
}

Rect PromptButton::Draw(HDC dc, const Prompt& prompt, const Rect& canvas, int factor,
                        bool pressed) {
  const HGDIOBJ oldFont = SelectObject(dc, FontAt(factor));
  const std::wstring caption = Widen(prompt.caption);
  const SIZE text = TextSize(dc, caption);
  const int w = std::max(kMinWidth, Natural(text.cx, factor) + 2 * kCaptionRoomX);
  const int h = std::max(kMinHeight, Natural(text.cy, factor) + 2 * kCaptionRoomY);
  const Rect box{canvas.x + (canvas.w - w) / 2, canvas.y + (canvas.h - h) / 2, w, h};
  Fill(dc, box.Scaled(factor), GetSysColor(COLOR_BTNFACE));
  DrawEdges(dc, box, factor, pressed);
  // Pressed, the caption goes down and right with the button, by one of the page's pixels.
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawCentred(dc, caption, box.Scaled(factor).Offset(pressed ? factor : 0, pressed ? factor : 0));
  DrawNote(dc, Widen(prompt.note), box, factor);
  SelectObject(dc, oldFont);
  return box.Scaled(factor);
}

}  // namespace ombrevale
