#pragma once

// The modal box the window draws over its page, in the look of its menu strip: a title bar, the
// text's lines, and an OK button that a click, Return, Space or Escape presses. It is laid out in
// the client area's pixels and drawn at the size the client area is shown at.

#include <string>
#include <string_view>
#include <vector>

#include "backends/sdl/boxes/BoxPicture.h"
#include "backends/sdl/layers/Fonts.h"
#include "backends/sdl/layers/ShownText.h"
#include "backends/sdl/present/ClientFrame.h"

namespace ombrevale {

class ModalBox {
 public:
  explicit ModalBox(Fonts& fonts);

  // Lays the box out for its title and text ("\r\n" breaks a line) and opens it, centred on the
  // page.
  void Open(std::string_view title, std::string_view text);
  bool IsOpen() const { return open_; }

  // Input while the box is open; each returns whether it closed the box. Keys: Return, Enter,
  // Space and Escape press OK. The pointer presses OK as a button does: down on it, up on it.
  bool Key(SDL_Keycode key);
  void PointerDown(int x, int y);
  void PointerMove(int x, int y);
  bool PointerUp(int x, int y);

  // Adds the box, drawn at `factor`, to the layers over the client area, over whatever lies there.
  void AddLayers(int factor, std::vector<ShownLayer>& layers);

  // What the box says: its title, and its text's lines.
  const std::string& Title() const { return title_.text; }
  std::vector<std::string> Lines() const;

  // Where the box and its button lie, in client pixels.
  Rect Bounds() const { return bounds_; }
  Rect Button() const { return button_; }

 private:
  struct Line {
    std::string text;
    ShownText shown;
  };
  void Draw(int factor);

  Fonts& fonts_;
  bool open_ = false;
  bool pressed_ = false;  // the pointer went down on the button and has not come up
  bool over_ = false;     // the pointer is over the button
  Line title_;
  std::vector<Line> lines_;
  Line ok_;
  int lineHeight_ = 0;
  Rect bounds_, titleBar_, button_;
  // What the picture was drawn for: redrawn when the box's look or the factor changes.
  BoxPicture picture_;
  bool drawn_ = false, drawnDown_ = false;
};

}  // namespace ombrevale
