#pragma once

// The window's menu bar, drawn by the window itself: its entries, which one the pointer is over
// or presses, and the access keys that click an entry from the keyboard. Its faces and edges are
// drawn into the client area; its captions at the size the client area is shown at.

#include <optional>
#include <string>
#include <vector>

#include "backends/sdl/layers/Fonts.h"
#include "backends/sdl/layers/ShownText.h"
#include "backends/sdl/present/ClientFrame.h"

namespace ombrevale {

class MenuBar {
 public:
  MenuBar(ClientFrame& frame, Fonts& fonts);

  void SetEntries(const std::vector<std::string>& captions);

  // The entries: how many, each one's caption, and where it lies in the client area.
  int Count() const { return static_cast<int>(entries_.size()); }
  const std::string& Caption(int entry) const { return entries_.at(entry).caption; }
  Rect Box(int entry) const { return entries_.at(entry).box; }

  // The entry at a point of the client area, or -1.
  int EntryAt(int x, int y) const;
  // The entry the pointer is over (-1 for none); whether that changed what the bar shows.
  bool Hover(int entry);
  // A press of the pointer's button at an entry (-1: off the entries).
  void Press(int entry) { pressed_ = entry; }
  int Pressed() const { return pressed_; }
  // Forgets the pointer: no entry is hovered or pressed.
  void Release() { hover_ = pressed_ = -1; }

  // The entry whose access key this is: Alt with the first letter of its caption (as the classic
  // key code `keyCode` gives it), without Control, not a repeat.
  std::optional<int> AccessKey(int16_t keyCode, uint16_t modifiers, bool repeat) const;

  // Draws the strip's faces and edges into the client area.
  void Draw();
  // Adds the captions, drawn at `factor`, to the layers over the client area.
  void AddLayers(int factor, std::vector<ShownLayer>& layers);

 private:
  struct Entry {
    std::string caption;
    ShownText text;
    Rect box;  // in client pixels
  };

  // Whether the entry is held down: pressed, with the pointer still on it.
  bool Pressing(size_t entry) const;

  ClientFrame& frame_;
  Fonts& fonts_;
  std::vector<Entry> entries_;
  int hover_ = -1;
  int pressed_ = -1;
};

inline constexpr int kMenuFontPixels = 12;  // 9 points, the desktop's menu text
inline constexpr const char* kMenuFamily = "sans-serif";

}  // namespace ombrevale
