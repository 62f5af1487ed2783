#include "backends/sdl/boxes/BoxPicture.h"

#include "platform/Bevel.h"
#include "platform/Palette.h"

namespace ombrevale {

void BoxPicture::Begin(const Rect& bounds, int factor) {
  const int w = bounds.w * factor, h = bounds.h * factor;
  if (!surface_ || surface_->w != w || surface_->h != h) {
    surface_ =
        SdlOwn<SurfacePtr>(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_XRGB8888),
                           "making the picture of a box");
    // Opaque: the box covers what lies under it.
    SDL_SetSurfaceBlendMode(surface_.get(), SDL_BLENDMODE_NONE);
  }
  bounds_ = bounds;
  factor_ = factor;
  version_ = NextLayerVersion();
}

SDL_Rect BoxPicture::InPicture(const Rect& r) const {
  const Rect shown = r.Offset(-int64_t{bounds_.x}, -int64_t{bounds_.y}).Scaled(factor_);
  return {shown.x, shown.y, shown.w, shown.h};
}

void BoxPicture::Fill(const Rect& r, Pixel color) {
  const SDL_Rect area = InPicture(r);
  Check(SDL_FillRect(surface_.get(), &area, color), "drawing a box");
}

void BoxPicture::Edge(const Rect& r, Pixel topLeft, Pixel bottomRight) {
  for (const EdgeLine& e : EdgeLines(r, topLeft, bottomRight)) Fill(e.line, e.color);
}

void BoxPicture::Text(const ShownText& text, SDL_Point at, const Rect& clip) {
  if (text.Empty()) return;
  const int originX = bounds_.x * factor_, originY = bounds_.y * factor_;
  const ShownLayer layer = text.At(at, clip.Scaled(factor_));
  DrawLayers({&layer, 1}, surface_.get(), -originX, -originY);
}

void BoxPicture::DefaultButton(const Rect& r, bool down, const ShownText& caption) {
  Edge(r, kWindowText, kWindowText);
  const Rect face = r.Inset(1);
  if (down) {
    Edge(face, kButtonShadow, kButtonShadow);
  } else {
    Edge(face, kButtonHighlight, kDarkShadow);
    Edge(face.Inset(1), kButtonFace, kButtonShadow);
  }
  const int f = factor_, shift = down ? factor_ : 0;
  Text(caption,
       {r.x * f + (r.w * f - caption.Width()) / 2 + shift,
        r.y * f + (r.h * f - caption.Height()) / 2 + shift},
       r.Inset(2));
}

ShownLayer BoxPicture::Layer(const Rect& clip) const {
  const Rect shown = clip.Scaled(factor_);
  return {surface_.get(),
          {bounds_.x * factor_, bounds_.y * factor_, surface_->w, surface_->h},
          {shown.x, shown.y, shown.w, shown.h},
          version_};
}

}  // namespace ombrevale
