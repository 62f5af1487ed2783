#pragma once

// A box of the window's own (the version box, the calm start's panel) drawn at the factor its
// client area is shown at: its faces and edges laid out in the client area's pixels and filled in
// whole blocks of the factor, its texts drawn at the shown size, so that it is as crisp as the
// screen allows and covers what lies under it, texts included.

#include <SDL.h>

#include "backends/sdl/SdlHandles.h"
#include "backends/sdl/layers/ShownLayer.h"
#include "backends/sdl/layers/ShownText.h"
#include "platform/Rect.h"
#include "platform/Surface.h"

namespace ombrevale {

class BoxPicture {
 public:
  // Starts the picture anew: the box covers `bounds` of the client area, shown at `factor`.
  void Begin(const Rect& bounds, int factor);

  // A face or an edge, in client pixels.
  void Fill(const Rect& r, Pixel color);
  // A 1-pixel raised or sunken edge just inside `r`: `topLeft` along the top and left,
  // `bottomRight` along the rest.
  void Edge(const Rect& r, Pixel topLeft, Pixel bottomRight);
  // A text with its top-left corner at `at` (shown pixels of the client area), kept inside `clip`
  // (client pixels).
  void Text(const ShownText& text, SDL_Point at, const Rect& clip);

  // A default button in `r` (client pixels): a dark outline around a raised face, sunk while
  // `down`, its caption centred and sinking with it.
  void DefaultButton(const Rect& r, bool down, const ShownText& caption);

  // The finished picture as the layer that shows it, kept inside `clip` (client pixels).
  ShownLayer Layer(const Rect& clip) const;
  int Factor() const { return factor_; }

 private:
  SDL_Rect InPicture(const Rect& r) const;

  SurfacePtr surface_;
  Rect bounds_;
  int factor_ = 1;
  uint64_t version_ = 0;
};

}  // namespace ombrevale
