#include "backends/sdl/MenuBar.h"

#include "platform/Palette.h"
#include "platform/unicode/CaseFold.h"
#include "platform/unicode/Utf8.h"

namespace ombrevale {
namespace {

constexpr int kMenuPadding = 6;  // on each side of an entry's caption
constexpr int kMenuFirstX = 2;

}  // namespace

MenuBar::MenuBar(ClientFrame& frame, Fonts& fonts) : frame_(frame), fonts_(fonts) {}

void MenuBar::SetEntries(const std::vector<std::string>& captions) {
  TTF_Font* font = fonts_.OpenPixels("sans-serif", kMenuFontPixels, false);
  entries_.clear();
  int x = kMenuFirstX;
  for (const std::string& caption : captions) {
    Entry entry;
    entry.caption = caption;
    entry.text = frame_.Text(font, caption, kWindowText, entry.textWidth, entry.textHeight);
    // Without a font the entry is still there to click, as wide as its caption would be.
    const int width = entry.text ? entry.textWidth : 7 * static_cast<int>(caption.size());
    entry.box = {x, 1, width + 2 * kMenuPadding, kMenuHeight - 3};
    x += entry.box.w;
    entries_.push_back(std::move(entry));
  }
  Release();
}

int MenuBar::EntryAt(int x, int y) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].box.Contains(x, y)) return static_cast<int>(i);
  return -1;
}

bool MenuBar::Hover(int entry) {
  if (entry == hover_) return false;
  hover_ = entry;
  return true;
}

std::optional<int> MenuBar::AccessKey(int16_t keyCode, uint16_t modifiers, bool repeat) const {
  if ((modifiers & KMOD_ALT) == 0 || (modifiers & KMOD_CTRL) != 0 || repeat) return std::nullopt;
  if (keyCode < 'A' || keyCode > 'Z') return std::nullopt;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Utf8Char first = DecodeFirst(entries_[i].caption);
    if (first.length == 0 || first.broken) continue;
    if (UpperCase(first.code) == static_cast<char32_t>(keyCode)) return static_cast<int>(i);
  }
  return std::nullopt;
}

void MenuBar::Draw() {
  SDL_Renderer* r = frame_.Renderer();
  FillRect(r, {0, 0, kClientWidth, kMenuHeight - 1}, kButtonFace);
  FillRect(r, {0, kMenuHeight - 1, kClientWidth, 1}, kButtonShadow);

  for (size_t i = 0; i < entries_.size(); ++i) {
    const Entry& entry = entries_[i];
    const bool pressed = static_cast<int>(i) == pressed_ && pressed_ == hover_;
    if (pressed)
      DrawEdge(r, entry.box, kButtonShadow, kButtonHighlight);
    else if (static_cast<int>(i) == hover_)
      DrawEdge(r, entry.box, kButtonHighlight, kButtonShadow);
    if (!entry.text) continue;
    const int shift = pressed ? 1 : 0;
    const SDL_Rect dst{entry.box.x + kMenuPadding + shift,
                       entry.box.y + (entry.box.h - entry.textHeight) / 2 + shift, entry.textWidth,
                       entry.textHeight};
    SDL_RenderCopy(r, entry.text.get(), nullptr, &dst);
  }
}

}  // namespace ombrevale
