#include "backends/sdl/present/PageView.h"

#include "platform/TextLines.h"

namespace ombrevale {

PageView::PageView(ClientFrame& frame, Fonts& fonts) : frame_(frame), fonts_(fonts) {
  page_ =
      SdlOwn<TexturePtr>(SDL_CreateTexture(frame_.Renderer(), SDL_PIXELFORMAT_XRGB8888,
                                           SDL_TEXTUREACCESS_STREAMING, kPageWidth, kPageHeight),
                         "creating the page texture");
  const std::vector<Pixel> black(static_cast<size_t>(kPageWidth) * kPageHeight, 0);
  Check(SDL_UpdateTexture(page_.get(), nullptr, black.data(), kPageWidth * sizeof(Pixel)),
        "clearing the page");
}

void PageView::Upload(const Scene& scene) {
  const Rect page{0, 0, kPageWidth, kPageHeight};
  const Rect canvas =
      scene.canvas != nullptr
          ? scene.canvas->Bounds().Offset(scene.canvasX, scene.canvasY).Intersect(page)
          : Rect{};

  if (scene.chrome != nullptr && !scene.chrome->Empty()) {
    // Where the canvas no longer lies, the chrome shows again.
    const bool canvasMoved = canvas != canvasRect_ && !canvasRect_.Empty();
    if (chromeRevision_ != scene.chromeRevision || canvasMoved) {
      const SDL_Rect area = ToSdl(scene.chrome->Bounds().Intersect(page));
      if (!SDL_RectEmpty(&area))
        Check(SDL_UpdateTexture(page_.get(), &area, scene.chrome->Row(0),
                                scene.chrome->Width() * static_cast<int>(sizeof(Pixel))),
              "updating the page's frame");
      chromeRevision_ = scene.chromeRevision;
    }
  }

  if (!canvas.Empty()) {
    const Pixel* first = scene.canvas->Row(canvas.y - scene.canvasY) + (canvas.x - scene.canvasX);
    const SDL_Rect area = ToSdl(canvas);
    Check(SDL_UpdateTexture(page_.get(), &area, first,
                            scene.canvas->Width() * static_cast<int>(sizeof(Pixel))),
          "updating the page's canvas");
  }
  canvasRect_ = canvas;

  labels_.resize(scene.labels.size());
  for (size_t i = 0; i < scene.labels.size(); ++i) UpdateLabel(labels_[i], scene.labels[i]);
}

void PageView::UpdateLabel(LabelImage& image, const LabelView& view) {
  image.box = view.DrawingBox().Offset(0, kMenuHeight);
  if (view.label == nullptr) {
    image.caption.clear();
    return;
  }
  const Label& label = *view.label;
  // Lines break where the caption breaks them, never to fit the box: the stand-in face runs a
  // little wider than the face the box was laid out for, and a clock that wrapped its time onto a
  // hidden second line would be worse than one that runs a few pixels past the box.
  image.caption = WithNewlines(label.Caption);
  image.color = label.ForeColor;
  image.face = label.Face;
}

void PageView::Draw() {
  SDL_Renderer* r = frame_.Renderer();
  const SDL_Rect pageArea = ToSdl(kPageArea);
  Check(SDL_RenderCopy(r, page_.get(), nullptr, &pageArea), "drawing the page");
}

void PageView::AddLayers(int factor, std::vector<ShownLayer>& layers) {
  for (LabelImage& image : labels_) {
    image.text.Draw(fonts_, image.caption, image.face.Name, PointsToPixels(image.face.Points),
                    image.face.Bold, image.color, factor);
    if (image.text.Empty()) continue;
    // Clipped to the label's drawing box and to the page area: the stand-in face is a few pixels
    // wider than the face the box was laid out for.
    const Rect clip = image.box.Intersect(kPageArea);
    if (clip.Empty()) continue;
    layers.push_back(
        image.text.At({image.box.x * factor, image.box.y * factor}, clip.Scaled(factor)));
  }
}

}  // namespace ombrevale
