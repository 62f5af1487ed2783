#pragma once

// The GDI fonts the labels are drawn with: a label's face, points and weight asked of the
// system's font mapper in the Shift-JIS character set, which gives the face itself where it is
// installed, else its nearest choice. Fonts are made once per face and size, and kept.

#include <map>
#include <string>
#include <utility>

#include "backends/win32/WindowsApi.h"
#include "platform/Controls.h"

namespace ombrevale {

class LabelFonts {
 public:
  LabelFonts() = default;
  ~LabelFonts();
  LabelFonts(const LabelFonts&) = delete;
  LabelFonts& operator=(const LabelFonts&) = delete;

  // The font for `face` on a page shown at `scale` times its natural size (96 dots per inch):
  // its points at that scale, so that the text is drawn at the size it is shown; null when the
  // system makes none.
  HFONT Open(const Font& face, int scale = 1);

  // The face name the font mapper chose for `face`, as GDI names it.
  std::wstring ChosenFace(const Font& face);

 private:
  std::map<std::pair<Font, int>, HFONT> open_;
};

}  // namespace ombrevale
