#include "backends/sdl/boxes/MenuBar.h"

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
  TTF_Font* font = fonts_.OpenPixels(kMenuFamily, kMenuFontPixels, false);
  entries_.clear();
  int x = kMenuFirstX;
  for (const std::string& caption : captions) {
    Entry entry;
    entry.caption = caption;
    // Laid out at the natural size. Without a font the entry is still there to click, as wide as
    // its caption would be.
    int width = 0, height = 0;
    if (font == nullptr || caption.empty() ||
        TTF_SizeUTF8(font, caption.c_str(), &width, &height) != 0) {
      width = 7 * static_cast<int>(caption.size());
    }
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

bool MenuBar::Pressing(size_t entry) const {
  return static_cast<int>(entry) == pressed_ && pressed_ == hover_;
}

void MenuBar::Draw() {
  SDL_Renderer* r = frame_.Renderer();
  FillRect(r, {0, 0, kClientWidth, kMenuHeight - 1}, kButtonFace);
  FillRect(r, {0, kMenuHeight - 1, kClientWidth, 1}, kButtonShadow);

  for (size_t i = 0; i < entries_.size(); ++i) {
    if (Pressing(i))
      DrawEdge(r, entries_[i].box, kButtonShadow, kButtonHighlight);
    else if (static_cast<int>(i) == hover_)
      DrawEdge(r, entries_[i].box, kButtonHighlight, kButtonShadow);
  }
}

void MenuBar::AddLayers(int factor, std::vector<ShownLayer>& layers) {
  const Rect strip{0, 0, kClientWidth, kMenuHeight};
  for (size_t i = 0; i < entries_.size(); ++i) {
    Entry& entry = entries_[i];
    entry.text.Draw(fonts_, entry.caption, kMenuFamily, kMenuFontPixels, false, kWindowText,
                    factor);
    if (entry.text.Empty()) continue;
    // A pressed entry's caption sinks by a pixel with its edge.
    const int shift = Pressing(i) ? 1 : 0;
    const SDL_Point at{
        (entry.box.x + kMenuPadding + shift) * factor,
        (entry.box.y + shift) * factor + (entry.box.h * factor - entry.text.Height()) / 2};
    layers.push_back(entry.text.At(at, strip.Scaled(factor)));
  }
}

}  // namespace ombrevale
