#include "backends/web/CanvasPresenter.h"

#include <emscripten.h>

#include "platform/PageLayout.h"

EM_JS(void, PagePutPixels, (const uint32_t* rgba, int width, int height, int x, int y), {
  OmbrevalePage.putPixels(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height, x, y);
});
EM_JS(void, PageSetLabel,
      (int index, const char* caption, int x, int y, int w, int h, int color, const char* face,
       int pixels, int bold),
      {
        OmbrevalePage.setLabel(index, UTF8ToString(caption), x, y, w, h, color, UTF8ToString(face),
                               pixels, bold != 0);
      });
EM_JS(void, PageFrameShown, (), { OmbrevalePage.frameShown(); });

namespace ombrevale {

void CanvasPresenter::Put(const Surface& surface, int x, int y) {
  rgba_.resize(surface.Pixels().size());
  const Pixel* in = surface.Pixels().data();
  // 0x00RRGGBB to the bytes R, G, B, opaque, as the canvas reads them.
  for (size_t i = 0; i < rgba_.size(); ++i) {
    const Pixel p = in[i];
    rgba_[i] = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
  }
  PagePutPixels(rgba_.data(), surface.Width(), surface.Height(), x, y);
}

void CanvasPresenter::Present(const Scene& scene) {
  if (scene.chrome != nullptr && !scene.chrome->Empty() &&
      scene.chromeRevision != chromeRevision_) {
    Put(*scene.chrome, 0, 0);
    chromeRevision_ = scene.chromeRevision;
  }
  if (scene.canvas != nullptr && !scene.canvas->Empty())
    Put(*scene.canvas, scene.canvasX, scene.canvasY);

  labels_.resize(scene.labels.size());
  for (size_t i = 0; i < scene.labels.size(); ++i) {
    const LabelView& view = scene.labels[i];
    if (view.label == nullptr) continue;
    const Label& label = *view.label;
    ShownLabel& shown = labels_[i];
    if (shown.caption == label.Caption && shown.color == label.ForeColor &&
        shown.face == label.Face && shown.box == view.box)
      continue;
    shown = {label.Caption, label.ForeColor, label.Face, view.box};
    const Rect& box = view.box;
    PageSetLabel(static_cast<int>(i), label.Caption.c_str(), box.x, box.y, box.w, box.h,
                 static_cast<int>(label.ForeColor), label.Face.Name.c_str(),
                 PointsToPixels(label.Face.Points), label.Face.Bold ? 1 : 0);
  }
  PageFrameShown();
}

}  // namespace ombrevale
