#include "platform/sdl/PageView.h"

#include <algorithm>

namespace ombrevale {
namespace {

// A label's caption as the text renderer wants it: "\r\n" (or a lone "\r") breaks the line.
std::string WithLineBreaks(const std::string& caption) {
  std::string out;
  out.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '\r') {
      out += '\n';
      if (i + 1 < caption.size() && caption[i + 1] == '\n') ++i;
    } else {
      out += caption[i];
    }
  }
  return out;
}

bool SameFace(const Font& a, const Font& b) {
  return a.Name == b.Name && a.Points == b.Points && a.Bold == b.Bold;
}

bool SameRect(const SDL_Rect& a, const SDL_Rect& b) {
  return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

}  // namespace

PageView::PageView(ClientFrame& frame, Fonts& fonts) : frame_(frame), fonts_(fonts) {
  page_ =
      SdlOwn<TexturePtr>(SDL_CreateTexture(frame_.Renderer(), SDL_PIXELFORMAT_XRGB8888,
                                           SDL_TEXTUREACCESS_STREAMING, kPageWidth, kPageHeight),
                         "Creating the page texture");
  const std::vector<Pixel> black(static_cast<size_t>(kPageWidth) * kPageHeight, 0);
  SDL_UpdateTexture(page_.get(), nullptr, black.data(), kPageWidth * sizeof(Pixel));
}

void PageView::Upload(const Scene& scene) {
  const SDL_Rect page{0, 0, kPageWidth, kPageHeight};
  SDL_Rect canvas{};
  if (scene.canvas != nullptr && !scene.canvas->Empty()) {
    const SDL_Rect wanted{scene.canvasX, scene.canvasY, scene.canvas->Width(),
                          scene.canvas->Height()};
    if (!SDL_IntersectRect(&wanted, &page, &canvas)) canvas = {};
  }

  if (scene.chrome != nullptr && !scene.chrome->Empty()) {
    // Where the canvas no longer lies, the chrome shows again.
    const bool canvasMoved = !SameRect(canvas, canvasRect_) && !SDL_RectEmpty(&canvasRect_);
    if (chromeRevision_ != scene.chromeRevision || canvasMoved) {
      const SDL_Rect full{0, 0, scene.chrome->Width(), scene.chrome->Height()};
      SDL_Rect area{};
      if (SDL_IntersectRect(&full, &page, &area))
        SDL_UpdateTexture(page_.get(), &area, scene.chrome->Row(0),
                          scene.chrome->Width() * static_cast<int>(sizeof(Pixel)));
      chromeRevision_ = scene.chromeRevision;
    }
  }

  if (!SDL_RectEmpty(&canvas)) {
    const Pixel* first = scene.canvas->Row(canvas.y - scene.canvasY) + (canvas.x - scene.canvasX);
    SDL_UpdateTexture(page_.get(), &canvas, first,
                      scene.canvas->Width() * static_cast<int>(sizeof(Pixel)));
  }
  canvasRect_ = canvas;

  labels_.resize(scene.labels.size());
  for (size_t i = 0; i < scene.labels.size(); ++i) UpdateLabel(labels_[i], scene.labels[i]);
}

void PageView::UpdateLabel(LabelImage& image, const LabelView& view) {
  image.box = {view.x, kMenuHeight + view.y, view.w, view.h};
  if (view.label == nullptr) {
    image.text.reset();
    image.caption.clear();
    return;
  }
  const Label& label = *view.label;
  const bool same = image.caption == label.Caption && image.color == label.ForeColor &&
                    SameFace(image.face, label.Face);
  if (same) return;
  image.caption = label.Caption;
  image.color = label.ForeColor;
  image.face = label.Face;
  // Lines break where the caption breaks them, never to fit the box: the stand-in face runs a
  // little wider than the face the box was laid out for, and a clock that wrapped its time onto a
  // hidden second line would be worse than one that runs a few pixels past the box.
  image.text = frame_.Text(fonts_.Open(label.Face), WithLineBreaks(label.Caption), label.ForeColor,
                           image.width, image.height);
}

void PageView::Draw() {
  SDL_Renderer* r = frame_.Renderer();
  SDL_RenderCopy(r, page_.get(), nullptr, &kPageArea);
  for (const LabelImage& image : labels_) {
    if (!image.text) continue;
    // Clipped to the label's box and to the page area, except that the text may run on past the
    // box's right edge up to the page's: the stand-in face is a few pixels wider than the face
    // the box was laid out for, and the clock's last digit must stay whole.
    SDL_Rect wide = image.box;
    wide.w = std::max(image.box.w, kPageArea.x + kPageArea.w - image.box.x);
    SDL_Rect box{};
    if (!SDL_IntersectRect(&wide, &kPageArea, &box)) continue;
    const SDL_Rect drawn{image.box.x, image.box.y, image.width, image.height};
    SDL_Rect dst{};
    if (!SDL_IntersectRect(&drawn, &box, &dst)) continue;
    const SDL_Rect src{dst.x - image.box.x, dst.y - image.box.y, dst.w, dst.h};
    SDL_RenderCopy(r, image.text.get(), &src, &dst);
  }
}

}  // namespace ombrevale
