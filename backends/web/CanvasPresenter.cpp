#include "backends/web/CanvasPresenter.h"

#include <emscripten.h>

#include "backends/web/PageNames.h"
#include "platform/PageLayout.h"
#include "platform/TextLines.h"

// The program's side of the page (program.js): the canvas is drawn where the program runs, the
// labels and the prompt are shown by the page.
// clang-format off
EM_JS(void, PagePutPixels, (const uint32_t* rgba, int width, int height, int x, int y), {
  const bytes = HEAPU8.subarray(rgba, rgba + width * height * 4);
  OmbrevaleProgram.putPixels(bytes, width, height, x, y);
});
EM_JS(void, PageSetLabel,
      (int index, const char* caption, int x, int y, int w, int h, int color, const char* face,
       int pixels, int bold), {
  OmbrevaleProgram.setLabel(index, UTF8ToString(caption), x, y, w, h, color, UTF8ToString(face),
                            pixels, bold != 0);
});
// No caption: no prompt.
EM_JS(void, PageSetPrompt, (const char* show, const char* caption, const char* note), {
  OmbrevaleProgram.show(UTF8ToString(show), caption ? UTF8ToString(caption) : null,
                        UTF8ToString(note));
});
EM_JS(void, PageSetCanvasName, (const char* show, const char* name),
      { OmbrevaleProgram.show(UTF8ToString(show), UTF8ToString(name)); });
EM_JS(void, PageFrameShown, (), { OmbrevaleProgram.frameShown(); });
// clang-format on

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
  if (scene.canvasName != canvasName_) {
    canvasName_ = scene.canvasName;
    PageSetCanvasName(page::kShowCanvasName, canvasName_.c_str());
  }

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
    const Rect box = view.DrawingBox();
    PageSetLabel(static_cast<int>(i), WithNewlines(label.Caption).c_str(), box.x, box.y, box.w,
                 box.h, static_cast<int>(label.ForeColor), label.Face.Name.c_str(),
                 PointsToPixels(label.Face.Points), label.Face.Bold ? 1 : 0);
  }

  const bool promptChanged = scene.prompt == nullptr
                                 ? prompt_.has_value()
                                 : !prompt_ || prompt_->caption != scene.prompt->caption ||
                                       prompt_->note != scene.prompt->note;
  if (promptChanged) {
    prompt_ = scene.prompt ? std::optional<Prompt>(*scene.prompt) : std::nullopt;
    PageSetPrompt(page::kShowPrompt, prompt_ ? prompt_->caption.c_str() : nullptr,
                  prompt_ ? prompt_->note.c_str() : "");
  }
  PageFrameShown();
}

}  // namespace ombrevale
