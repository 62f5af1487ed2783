#pragma once

// The page's prompt as the window draws it (the calm start's "Start the vision"): a small raised
// panel centred on the canvas, holding a default button with the prompt's caption and, under it,
// the line that says how else to go on. A click on the button presses it, as a button does: down
// on it, up on it. Laid out in the client area's pixels, drawn at the size it is shown at.

#include <optional>
#include <vector>

#include "backends/sdl/boxes/BoxPicture.h"
#include "backends/sdl/layers/Fonts.h"
#include "backends/sdl/layers/ShownText.h"
#include "platform/Desktop.h"

namespace ombrevale {

class PromptView {
 public:
  explicit PromptView(Fonts& fonts) : fonts_(fonts) {}

  // Shows `prompt` centred on `canvas` (client pixels), or nothing when it is null.
  void Show(const Prompt* prompt, const Rect& canvas);
  bool Shown() const { return prompt_.has_value(); }

  // The pointer; each returns whether what the panel shows changed. PointerUp also tells whether
  // it pressed the button.
  bool PointerDown(int x, int y);
  bool PointerMove(int x, int y);
  bool PointerUp(int x, int y, bool& pressed);

  // Adds the panel, drawn at `factor`, to the layers over the client area.
  void AddLayers(int factor, std::vector<ShownLayer>& layers);

  // Where the panel and its button lie, in client pixels.
  Rect Bounds() const { return bounds_; }
  Rect Button() const { return button_; }

 private:
  void Layout(const Rect& canvas);
  void Draw(int factor);

  Fonts& fonts_;
  std::optional<Prompt> prompt_;
  Rect canvas_, bounds_, button_;
  int noteY_ = 0;
  bool held_ = false;  // the pointer went down on the button and has not come up
  bool over_ = false;  // the pointer is over the button
  ShownText caption_, note_;
  BoxPicture picture_;
  bool drawn_ = false, drawnDown_ = false;
};

}  // namespace ombrevale
