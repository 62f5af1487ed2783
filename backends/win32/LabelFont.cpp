#include "backends/win32/LabelFont.h"

#include "backends/win32/Utf16.h"

namespace ombrevale {

LabelFonts::~LabelFonts() {
  for (auto& [key, font] : open_)
    if (font != nullptr) DeleteObject(font);
}

HFONT LabelFonts::Open(const Font& face, int scale) {
  if (auto found = open_.find({face, scale}); found != open_.end()) return found->second;
  LOGFONTW wanted{};
  // Points to pixels at 96 dots per inch times the scale, by character height (the negative size).
  wanted.lfHeight = -PointsToPixels(face.Points, scale);
  wanted.lfWeight = face.Bold ? FW_BOLD : FW_NORMAL;
  wanted.lfCharSet = SHIFTJIS_CHARSET;
  wanted.lfOutPrecision = OUT_DEFAULT_PRECIS;
  wanted.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  wanted.lfQuality = DEFAULT_QUALITY;
  wanted.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::wstring name = Widen(face.Name);
  lstrcpynW(wanted.lfFaceName, name.c_str(), LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&wanted);
  open_.emplace(std::pair{face, scale}, font);
  return font;
}

std::wstring LabelFonts::ChosenFace(const Font& face) {
  HFONT font = Open(face);
  if (font == nullptr) return {};
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t name[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, name);
  SelectObject(dc, old);
  DeleteDC(dc);
  return name;
}

}  // namespace ombrevale
