#pragma once

// The page as the window shows it: the chrome with the canvas written over it, and the labels
// drawn over the canvas, each caption drawn into a texture once and again only when it changes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "backends/sdl/ClientFrame.h"
#include "backends/sdl/Fonts.h"
#include "platform/Desktop.h"

namespace ombrevale {

class PageView {
 public:
  PageView(ClientFrame& frame, Fonts& fonts);

  // Takes what the scene shows: the chrome when its revision changed, the canvas, the labels.
  void Upload(const Scene& scene);
  // Draws the page into the client area, the labels over it.
  void Draw();

 private:
  struct LabelImage {
    std::string caption;
    Pixel color = 0;
    Font face;
    TexturePtr text;
    int width = 0, height = 0;
    Rect box;  // in client pixels
  };

  void UpdateLabel(LabelImage& image, const LabelView& view);

  ClientFrame& frame_;
  Fonts& fonts_;
  TexturePtr page_;  // the page area: chrome, with the canvas written over it
  std::optional<uint64_t> chromeRevision_;
  Rect canvasRect_;  // where the canvas was last written into `page_`
  std::vector<LabelImage> labels_;
};

}  // namespace ombrevale
