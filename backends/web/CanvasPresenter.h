#pragma once

// Puts a scene on the page: the window's background and the canvas into the page's 2D canvas, as
// RGBA rows straight from the program's memory, each label as text of the page over it, and the
// calm start's prompt as the page's button. Only what changed is sent: the background when its
// revision moves, a label when its caption, colour or face does, the prompt when it comes or goes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Desktop.h"

namespace ombrevale {

class CanvasPresenter {
 public:
  void Present(const Scene& scene);

 private:
  struct ShownLabel {
    std::string caption;
    Pixel color = 0;
    Font face;
    Rect box{-1, -1, 0, 0};
  };

  // Converts a surface into `rgba_` and draws it on the page's canvas at (x, y).
  void Put(const Surface& surface, int x, int y);

  uint64_t chromeRevision_ = ~uint64_t{0};
  std::vector<uint32_t> rgba_;
  std::vector<ShownLabel> labels_;
  std::optional<Prompt> prompt_;
  std::string canvasName_;  // as the page names its canvas
};

}  // namespace ombrevale
