#include "backends/sdl/boxes/PromptView.h"

#include <algorithm>

#include "backends/sdl/boxes/MenuBar.h"
#include "platform/Bevel.h"
#include "platform/Palette.h"

namespace ombrevale {
namespace {

constexpr int kEdge = 2;     // the panel's raised frame
constexpr int kMargin = 12;  // around what it holds
constexpr int kGap = 8;      // between the button and the line under it
constexpr int kButtonMinWidth = 120, kButtonHeight = 23, kButtonPadding = 16;

int NaturalWidth(TTF_Font* font, const std::string& text) {
  int w = 0, h = 0;
  if (font == nullptr || text.empty() || TTF_SizeUTF8(font, text.c_str(), &w, &h) != 0) return 0;
  return w;
}

}  // namespace

void PromptView::Show(const Prompt* prompt, const Rect& canvas) {
  if (prompt == nullptr) {
    prompt_.reset();
    held_ = over_ = false;
    return;
  }
  const bool same = prompt_ && prompt_->caption == prompt->caption &&
                    prompt_->note == prompt->note && canvas == canvas_;
  if (same) return;
  prompt_ = *prompt;
  Layout(canvas);
}

void PromptView::Layout(const Rect& canvas) {
  canvas_ = canvas;
  TTF_Font* font = fonts_.OpenPixels(kMenuFamily, kMenuFontPixels, false);
  const int lineHeight = font != nullptr ? TTF_FontLineSkip(font) : kMenuFontPixels + 3;
  const int buttonWidth =
      std::max(kButtonMinWidth, NaturalWidth(font, prompt_->caption) + 2 * kButtonPadding);
  const int inner = std::max(buttonWidth, NaturalWidth(font, prompt_->note)) + 2 * kMargin;
  const int width = inner + 2 * kEdge;
  const int height = 2 * kEdge + kMargin + kButtonHeight + kGap + lineHeight + kMargin;
  bounds_ = {canvas.x + (canvas.w - width) / 2, canvas.y + (canvas.h - height) / 2, width, height};
  button_ = {bounds_.x + (width - buttonWidth) / 2, bounds_.y + kEdge + kMargin, buttonWidth,
             kButtonHeight};
  noteY_ = button_.y + button_.h + kGap;
  drawn_ = false;
}

bool PromptView::PointerDown(int x, int y) {
  if (!prompt_) return false;
  held_ = over_ = button_.Contains(x, y);
  return held_;
}

bool PromptView::PointerMove(int x, int y) {
  if (!prompt_ || !held_) return false;
  const bool over = button_.Contains(x, y);
  const bool changed = over != over_;
  over_ = over;
  return changed;
}

bool PromptView::PointerUp(int x, int y, bool& pressed) {
  pressed = prompt_ && held_ && button_.Contains(x, y);
  const bool changed = held_;
  held_ = over_ = false;
  return changed;
}

void PromptView::AddLayers(int factor, std::vector<ShownLayer>& layers) {
  if (!prompt_) return;
  const bool down = held_ && over_;
  if (!drawn_ || down != drawnDown_ || factor != picture_.Factor()) {
    Draw(factor);
    drawn_ = true;
    drawnDown_ = down;
  }
  layers.push_back(picture_.Layer(canvas_));
}

void PromptView::Draw(int factor) {
  BoxPicture& p = picture_;
  p.Begin(bounds_, factor);
  p.Fill(bounds_, kButtonFace);
  p.Edge(bounds_, kButtonFace, kDarkShadow);
  p.Edge(bounds_.Inset(1), kButtonHighlight, kButtonShadow);

  caption_.Draw(fonts_, prompt_->caption, kMenuFamily, kMenuFontPixels, false, kWindowText, factor);
  p.DefaultButton(button_, held_ && over_, caption_);

  note_.Draw(fonts_, prompt_->note, kMenuFamily, kMenuFontPixels, false, kWindowText, factor);
  p.Text(note_, {bounds_.x * factor + (bounds_.w * factor - note_.Width()) / 2, noteY_ * factor},
         bounds_.Inset(kEdge));
}

}  // namespace ombrevale
