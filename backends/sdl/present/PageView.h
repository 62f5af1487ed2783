#pragma once

// The page as the window shows it: the chrome with the canvas written over it, drawn into the
// client area, and the labels over the canvas, drawn at the size the client area is shown at, each
// caption drawn once and again only when it or the size changes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "backends/sdl/layers/Fonts.h"
#include "backends/sdl/layers/ShownText.h"
#include "backends/sdl/present/ClientFrame.h"
#include "platform/Desktop.h"

namespace ombrevale {

class PageView {
 public:
  PageView(ClientFrame& frame, Fonts& fonts);

  // Takes what the scene shows: the chrome when its revision changed, the canvas, the labels.
  void Upload(const Scene& scene);
  // Draws the page into the client area.
  void Draw();
  // Adds the labels, drawn at `factor`, to the layers over the client area.
  void AddLayers(int factor, std::vector<ShownLayer>& layers);

 private:
  struct LabelImage {
    std::string caption;  // as the text is drawn: "\r\n" made "\n"
    Pixel color = 0;
    Font face;
    ShownText text;
    Rect box;  // the label's drawing box, in client pixels
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
