#include "backends/sdl/boxes/ModalBox.h"

#include <algorithm>

#include "backends/sdl/boxes/MenuBar.h"
#include "platform/Bevel.h"
#include "platform/Palette.h"
#include "platform/TextLines.h"

namespace ombrevale {
namespace {

constexpr int kEdge = 2;          // the box's raised frame
constexpr int kTitleHeight = 18;  // the title bar inside the frame
constexpr int kMargin = 12;       // around the text
constexpr int kButtonWidth = 75, kButtonHeight = 23;
constexpr int kMinWidth = 160;

// The width of a line at the natural size; 0 without a font.
int NaturalWidth(TTF_Font* font, const std::string& text) {
  int w = 0, h = 0;
  if (font == nullptr || text.empty() || TTF_SizeUTF8(font, text.c_str(), &w, &h) != 0) return 0;
  return w;
}

}  // namespace

ModalBox::ModalBox(Fonts& fonts) : fonts_(fonts) {}

void ModalBox::Open(std::string_view title, std::string_view text) {
  TTF_Font* font = fonts_.OpenPixels(kMenuFamily, kMenuFontPixels, false);
  TTF_Font* bold = fonts_.OpenPixels(kMenuFamily, kMenuFontPixels, true);
  lineHeight_ = font != nullptr ? TTF_FontLineSkip(font) : kMenuFontPixels + 3;

  title_ = {std::string(title), {}};
  ok_ = {"OK", {}};
  lines_.clear();
  int textWidth = 0;
  for (std::string_view line : SplitLines(text)) {
    lines_.push_back({std::string(line), {}});
    textWidth = std::max(textWidth, NaturalWidth(font, lines_.back().text));
  }

  const int inner =
      std::max({textWidth + 2 * kMargin, NaturalWidth(bold, title_.text) + 2 * kMargin,
                kButtonWidth + 2 * kMargin, kMinWidth - 2 * kEdge});
  const int textHeight = static_cast<int>(lines_.size()) * lineHeight_;
  const int width = inner + 2 * kEdge;
  const int height =
      2 * kEdge + kTitleHeight + kMargin + textHeight + kMargin + kButtonHeight + kMargin;
  bounds_ = {kPageArea.x + (kPageArea.w - width) / 2, kPageArea.y + (kPageArea.h - height) / 2,
             width, height};
  titleBar_ = {bounds_.x + kEdge, bounds_.y + kEdge, inner, kTitleHeight};
  button_ = {bounds_.x + (width - kButtonWidth) / 2,
             bounds_.y + height - kEdge - kMargin - kButtonHeight, kButtonWidth, kButtonHeight};
  open_ = true;
  pressed_ = over_ = false;
  drawn_ = false;
}

std::vector<std::string> ModalBox::Lines() const {
  std::vector<std::string> lines;
  for (const Line& line : lines_) lines.push_back(line.text);
  return lines;
}

bool ModalBox::Key(SDL_Keycode key) {
  if (!open_) return false;
  if (key == SDLK_RETURN || key == SDLK_RETURN2 || key == SDLK_KP_ENTER || key == SDLK_SPACE ||
      key == SDLK_ESCAPE) {
    open_ = false;
  }
  return !open_;
}

void ModalBox::PointerDown(int x, int y) {
  pressed_ = over_ = button_.Contains(x, y);
}

void ModalBox::PointerMove(int x, int y) {
  over_ = button_.Contains(x, y);
}

bool ModalBox::PointerUp(int x, int y) {
  const bool clicked = pressed_ && button_.Contains(x, y);
  pressed_ = false;
  if (clicked) open_ = false;
  return clicked;
}

void ModalBox::AddLayers(int factor, std::vector<ShownLayer>& layers) {
  if (!open_) return;
  const bool down = pressed_ && over_;
  if (!drawn_ || down != drawnDown_ || factor != picture_.Factor()) {
    Draw(factor);
    drawn_ = true;
    drawnDown_ = down;
  }
  layers.push_back(picture_.Layer(kPageArea));
}

void ModalBox::Draw(int factor) {
  BoxPicture& p = picture_;
  p.Begin(bounds_, factor);
  p.Fill(bounds_, kButtonFace);
  p.Edge(bounds_, kButtonFace, kDarkShadow);
  p.Edge(bounds_.Inset(1), kButtonHighlight, kButtonShadow);

  p.Fill(titleBar_, kActiveCaption);
  title_.shown.Draw(fonts_, title_.text, kMenuFamily, kMenuFontPixels, true, kCaptionText, factor);
  const Rect titleText{titleBar_.x + 4, titleBar_.y, titleBar_.w - 4, titleBar_.h};
  p.Text(title_.shown,
         {titleText.x * factor,
          titleBar_.y * factor + (titleBar_.h * factor - title_.shown.Height()) / 2},
         titleText);

  int y = titleBar_.y + titleBar_.h + kMargin;
  for (Line& line : lines_) {
    line.shown.Draw(fonts_, line.text, kMenuFamily, kMenuFontPixels, false, kWindowText, factor);
    p.Text(line.shown, {(bounds_.x + kEdge + kMargin) * factor, y * factor}, bounds_);
    y += lineHeight_;
  }

  ok_.shown.Draw(fonts_, ok_.text, kMenuFamily, kMenuFontPixels, false, kWindowText, factor);
  p.DefaultButton(button_, pressed_ && over_, ok_.shown);
}

}  // namespace ombrevale
