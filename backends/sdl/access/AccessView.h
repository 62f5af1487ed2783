#pragma once

// What the window shows, in the words a screen reader reads: its caption, the menu strip's entries,
// the vision, the labels over it, the calm start's button and the version box, each with where it
// lies; and what a screen reader may ask of the window. The window gathers it from what it already
// keeps; the accessibility bridge publishes it.

#include <optional>
#include <string>
#include <vector>

#include "platform/Rect.h"

namespace ombrevale {

struct AccessView {
  // A text and where it lies, in client pixels.
  struct Text {
    std::string text;
    Rect box;
    bool operator==(const Text&) const = default;
  };
  // A button: its caption, the line that says how else to press it, and where it lies.
  struct Button {
    std::string caption;
    std::string hint;
    Rect box;
    bool operator==(const Button&) const = default;
  };
  // The version box: its title, its text's lines, its OK button, and where it lies.
  struct Box {
    std::string title;
    std::vector<std::string> lines;
    Button ok;
    Rect bounds;
    bool operator==(const Box&) const = default;
  };

  std::string caption;  // the window's title
  bool active = false;  // the window has the keyboard
  std::vector<Text> menu;
  int menuPressed = -1;          // the entry the pointer holds down
  std::optional<Text> vision;    // the canvas, named for what it shows
  std::vector<Text> labels;      // the labels over the canvas, the clock's among them
  std::optional<Button> prompt;  // the calm start's button
  std::optional<Box> box;
  // Where the client area's pixel (0, 0) lies on the screen, and how many of the screen's units a
  // client pixel spans.
  int originX = 0, originY = 0;
  double unitsPerPixel = 1;

  bool operator==(const AccessView&) const = default;
};

// What a screen reader asked the window to do, through an object's action: click a menu entry,
// press the calm start's button, press the box's OK.
struct AccessRequest {
  enum class Kind { MenuClick, PromptPress, BoxPress };
  Kind kind = Kind::MenuClick;
  int entry = 0;  // the menu entry clicked
  bool operator==(const AccessRequest&) const = default;
};

}  // namespace ombrevale
