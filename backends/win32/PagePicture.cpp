#include "backends/win32/PagePicture.h"

#include <cstring>

#include "backends/win32/GdiColour.h"
#include "backends/win32/GdiFailure.h"
#include "backends/win32/GdiRect.h"
#include "backends/win32/Utf16.h"
#include "platform/PageLayout.h"
#include "platform/scale/Scaler.h"

namespace ombrevale {
namespace {

constexpr std::string_view kNoPagePicture = "the window could not make its page picture";

// Copies the part of `from` at (x, y) that lies on `page`.
void CopyOnto(Surface& page, const Surface& from, int x, int y) {
  const Rect onPage = from.Bounds().Offset(x, y).Intersect(page.Bounds());
  if (onPage.Empty()) return;
  for (int row = onPage.y; row < onPage.Bottom(); ++row) {
    std::memcpy(page.Row(row) + onPage.x, from.Row(row - y) + (onPage.x - x),
                static_cast<size_t>(onPage.w) * sizeof(Pixel));
  }
}

}  // namespace

PagePicture::PagePicture() : natural_(kPageWidth, kPageHeight) {
  dc_ = CreateCompatibleDC(nullptr);
  RequireGdi(dc_ != nullptr, kNoPagePicture, "CreateCompatibleDC");
  SetBkMode(dc_, TRANSPARENT);
  SetFactor(1);
}

PagePicture::~PagePicture() {
  if (dcBitmap_ != nullptr) SelectObject(dc_, dcBitmap_);
  DeleteDC(dc_);
}

void PagePicture::SetFactor(int factor) {
  if (factor == factor_) return;
  DibSection shown(kPageWidth * factor, kPageHeight * factor);
  RequireGdi(shown.Made(), kNoPagePicture, "CreateDIBSection");
  const HGDIOBJ previous = SelectObject(dc_, shown.Bitmap());
  RequireGdi(previous != nullptr && previous != HGDI_ERROR, kNoPagePicture, "SelectObject");
  if (dcBitmap_ == nullptr) dcBitmap_ = previous;
  shown_ = std::move(shown);  // the picture shown until now goes with `shown`, no longer selected
  factor_ = factor;
  Render();
}

void PagePicture::Compose(const Scene& scene) {
  // The canvas is copied whole every frame, so the chrome is needed only where it changed; where
  // a canvas is missing the chrome shows, so it is copied then too.
  if (scene.chrome != nullptr &&
      (scene.chromeRevision != chromeRevision_ || scene.canvas == nullptr)) {
    CopyOnto(natural_, *scene.chrome, 0, 0);
    chromeRevision_ = scene.chromeRevision;
  }
  canvas_ = {};
  if (scene.canvas != nullptr) {
    CopyOnto(natural_, *scene.canvas, scene.canvasX, scene.canvasY);
    canvas_ = scene.canvas->Bounds().Offset(scene.canvasX, scene.canvasY);
  }
  canvasName_ = Widen(scene.canvasName);
  texts_.resize(scene.labels.size());
  for (size_t i = 0; i < scene.labels.size(); ++i) {
    const Label* label = scene.labels[i].label;
    texts_[i] = label == nullptr ? Text{}
                                 : Text{Widen(label->Caption), label->ForeColor, label->Face,
                                        scene.labels[i].DrawingBox()};
  }
  if (scene.prompt == nullptr) pressed_ = false;
  prompt_ = scene.prompt != nullptr ? std::optional<Prompt>(*scene.prompt) : std::nullopt;
  Render();
}

bool PagePicture::PressPrompt(bool pressed) {
  if (pressed == pressed_ || !prompt_) return false;
  pressed_ = pressed;
  Render();
  return true;
}

void PagePicture::Render() {
  GdiFlush();  // GDI's drawing of the last frame is done before its pixels are written over
  ScaleWhole(natural_.Row(0), natural_.Width() * sizeof(Pixel), natural_.Width(), natural_.Height(),
             factor_, shown_.Row(0), shown_.Pitch());
  for (const Text& text : texts_) DrawLabel(text);
  promptArea_ = {};
  if (prompt_) promptArea_ = button_.Draw(dc_, *prompt_, canvas_, factor_, pressed_);
  GdiFlush();
}

void PagePicture::DrawLabel(const Text& text) {
  if (text.caption.empty()) return;
  HFONT font = fonts_.Open(text.face, factor_);
  if (font == nullptr) return;
  // Clipped to the label's drawing box: the face the mapper chooses may be a little wider than
  // the one the box was laid out for.
  RECT box = ToRect(text.box.Scaled(factor_));
  const HGDIOBJ old = SelectObject(dc_, font);
  SetTextColor(dc_, ToColorRef(text.color));
  DrawTextW(dc_, text.caption.c_str(), static_cast<int>(text.caption.size()), &box,
            DT_LEFT | DT_TOP | DT_NOPREFIX);
  SelectObject(dc_, old);
}

std::vector<PagePart> PagePicture::Parts() const {
  const auto shown = [this](const Rect& r) {
    return Rect{r.x * factor_, r.y * factor_, r.w * factor_, r.h * factor_};
  };
  std::vector<PagePart> parts;
  if (!canvas_.Empty() && !canvasName_.empty())
    parts.push_back({PagePart::Kind::Vision, canvasName_, L"", shown(canvas_)});
  for (const Text& text : texts_)
    if (!text.caption.empty())
      parts.push_back({PagePart::Kind::Label, text.caption, L"", shown(text.box)});
  if (prompt_)
    parts.push_back(
        {PagePart::Kind::Button, Widen(prompt_->caption), Widen(prompt_->note), promptArea_});
  return parts;
}

Pixel PagePicture::At(int x, int y) const {
  return shown_.Row(y)[x] & 0x00FFFFFF;
}

Rect PagePicture::PlaceIn(int width, int height) const {
  return Rect{0, 0, shown_.Width(), shown_.Height()}.CentredIn({0, 0, width, height});
}

void PagePicture::Paint(HDC dc, int width, int height) const {
  const Rect page = PlaceIn(width, height);
  const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  // The border around the page, in at most four strips, so that the page itself never flashes.
  for (const Rect& strip : Rect{0, 0, width, height}.StripsAround(page)) {
    const RECT r = ToRect(strip);
    if (!strip.Empty()) FillRect(dc, &r, black);
  }
  RequireGdi(::BitBlt(dc, page.x, page.y, page.w, page.h, dc_, 0, 0, SRCCOPY) != FALSE,
             "the window could not put its page on the screen", "BitBlt");
}

}  // namespace ombrevale
