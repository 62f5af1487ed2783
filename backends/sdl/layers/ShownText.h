#pragma once

// A line of text the window shows, drawn at the size its client area is shown at: laid out in
// the client area's own pixels, its face opened at the shown factor, drawn again only when its
// words, face, colour or factor change.

#include <string>
#include <string_view>

#include "backends/sdl/SdlHandles.h"
#include "backends/sdl/layers/Fonts.h"
#include "backends/sdl/layers/ShownLayer.h"
#include "platform/Rect.h"
#include "platform/Surface.h"

namespace ombrevale {

class ShownText {
 public:
  // Draws `text` ("\n" breaks a line) in `family` at `pixels` a line at the natural size, times
  // `factor`; nothing when there is no text, or no font for it (Fonts says so once).
  void Draw(Fonts& fonts, std::string_view text, std::string_view family, int pixels, bool bold,
            Pixel color, int factor);

  bool Empty() const { return !surface_; }
  // Its size as drawn, in shown pixels.
  int Width() const { return surface_ ? surface_->w : 0; }
  int Height() const { return surface_ ? surface_->h : 0; }

  // The layer that shows it with its top-left corner at `at` and what it may cover `clip`, both in
  // shown pixels.
  ShownLayer At(SDL_Point at, const Rect& clip) const;

 private:
  std::string text_, family_;
  int pixels_ = 0, factor_ = 0;
  bool bold_ = false;
  Pixel color_ = 0;
  SurfacePtr surface_;
  uint64_t version_ = 0;
};

}  // namespace ombrevale
