#pragma once

// A part of the page that the window draws itself, as a screen reader is told of it: what it is,
// its name and description, and where it lies.

#include <string>

#include "platform/Rect.h"

namespace ombrevale {

struct PagePart {
  enum class Kind { Vision, Label, Button };
  Kind kind = Kind::Label;
  std::wstring name;
  std::wstring description;
  Rect box;  // in the pixels of the page shown, or of the client area
};

}  // namespace ombrevale
