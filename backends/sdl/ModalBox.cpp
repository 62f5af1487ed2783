#include "backends/sdl/ModalBox.h"

#include <algorithm>

#include "backends/sdl/MenuBar.h"
#include "platform/Bevel.h"
#include "platform/Palette.h"

namespace ombrevale {
namespace {

constexpr int kEdge = 2;          // the box's raised frame
constexpr int kTitleHeight = 18;  // the title bar inside the frame
constexpr int kMargin = 12;       // around the text
constexpr int kButtonWidth = 75, kButtonHeight = 23;
constexpr int kMinWidth = 160;

// The lines of a box's text: "\r\n", or a lone "\r" or "\n", ends a line.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  return lines;
}

}  // namespace

ModalBox::ModalBox(ClientFrame& frame, Fonts& fonts) : frame_(frame), fonts_(fonts) {}

void ModalBox::Open(std::string_view title, std::string_view text) {
  TTF_Font* font = fonts_.OpenPixels("sans-serif", kMenuFontPixels, false);
  TTF_Font* bold = fonts_.OpenPixels("sans-serif", kMenuFontPixels, true);
  lineHeight_ = font != nullptr ? TTF_FontLineSkip(font) : kMenuFontPixels + 3;

  title_.text = frame_.Text(bold, std::string(title), kCaptionText, title_.width, title_.height);
  ok_.text = frame_.Text(font, "OK", kWindowText, ok_.width, ok_.height);
  lines_.clear();
  int textWidth = 0;
  for (const std::string& line : SplitLines(text)) {
    Line drawn;
    drawn.text = frame_.Text(font, line, kWindowText, drawn.width, drawn.height);
    textWidth = std::max(textWidth, drawn.width);
    lines_.push_back(std::move(drawn));
  }

  const int inner = std::max({textWidth + 2 * kMargin, title_.width + 2 * kMargin,
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

void ModalBox::Draw() {
  if (!open_) return;
  SDL_Renderer* r = frame_.Renderer();
  FillRect(r, bounds_, kButtonFace);
  DrawEdge(r, bounds_, kButtonFace, kDarkShadow);
  DrawEdge(r, Inset(bounds_, 1), kButtonHighlight, kButtonShadow);

  FillRect(r, titleBar_, kActiveCaption);
  if (title_.text) {
    const SDL_Rect at{titleBar_.x + 4, titleBar_.y + (titleBar_.h - title_.height) / 2,
                      std::min(title_.width, titleBar_.w - 4), title_.height};
    const SDL_Rect from{0, 0, at.w, at.h};
    SDL_RenderCopy(r, title_.text.get(), &from, &at);
  }

  int y = titleBar_.y + titleBar_.h + kMargin;
  for (const Line& line : lines_) {
    if (line.text) {
      const SDL_Rect at{bounds_.x + kEdge + kMargin, y, line.width, line.height};
      SDL_RenderCopy(r, line.text.get(), nullptr, &at);
    }
    y += lineHeight_;
  }

  // The default button: a dark outline around a raised face, sunk while pressed.
  const bool down = pressed_ && over_;
  DrawEdge(r, button_, kWindowText, kWindowText);
  const Rect face = Inset(button_, 1);
  if (down) {
    DrawEdge(r, face, kButtonShadow, kButtonShadow);
  } else {
    DrawEdge(r, face, kButtonHighlight, kDarkShadow);
    DrawEdge(r, Inset(face, 1), kButtonFace, kButtonShadow);
  }
  if (ok_.text) {
    const int shift = down ? 1 : 0;
    const SDL_Rect at{button_.x + (button_.w - ok_.width) / 2 + shift,
                      button_.y + (button_.h - ok_.height) / 2 + shift, ok_.width, ok_.height};
    SDL_RenderCopy(r, ok_.text.get(), nullptr, &at);
  }
}

}  // namespace ombrevale
