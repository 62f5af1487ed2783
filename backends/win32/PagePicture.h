#pragma once

// The page area as the window shows it. The scene's chrome and canvas are composed at the page's
// natural size, 404 x 304; the page is shown at a whole factor of it, in a picture of the system's
// own (a DIB section) of the shown size: the natural page scaled into it, nearest neighbour, so
// that every canvas pixel is a square block, then the labels and the calm start's button drawn
// there at the resolution they are shown at, crisp. The window's client area is painted from it,
// centred on black, so that nothing flickers.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "backends/win32/DibSection.h"
#include "backends/win32/LabelFont.h"
#include "backends/win32/PagePart.h"
#include "backends/win32/PromptButton.h"
#include "backends/win32/WindowsApi.h"
#include "platform/Desktop.h"

namespace ombrevale {

class PagePicture {
 public:
  // The page shown at its natural size, black until a scene is composed.
  PagePicture();
  ~PagePicture();
  PagePicture(const PagePicture&) = delete;
  PagePicture& operator=(const PagePicture&) = delete;

  // Composes the scene: the chrome when it changed, the canvas, then, at the factor the page is
  // shown at, the labels over it and the prompt's button over them all.
  void Compose(const Scene& scene);
  // Shows the page at `factor` times its natural size from now on, drawn again at once.
  void SetFactor(int factor);
  int Factor() const { return factor_; }

  // Where the shown page lies in a client area of `width` x `height`: centred, or from the
  // top-left corner where the client area is smaller than the page.
  Rect PlaceIn(int width, int height) const;
  // Paints the client area of `width` x `height` pixels on `dc`: the shown page at its place,
  // the border black.
  void Paint(HDC dc, int width, int height) const;

  // The prompt's button in the shown page's pixels; empty when the scene has no prompt.
  Rect PromptButtonArea() const { return promptArea_; }
  // Draws the button pushed in, or out again; returns whether that changed the page.
  bool PressPrompt(bool pressed);

  // What the page shows that a screen reader is told of, where it lies in the shown page's pixels:
  // the vision by its name, the labels, the prompt's button with the line under it.
  std::vector<PagePart> Parts() const;

  // The shown page, 0x00RRGGBB, rows top-down, `Factor()` times 404 x 304.
  Pixel At(int x, int y) const;

 private:
  // The labels as the scene gave them, kept to draw again at another factor.
  struct Text {
    std::wstring caption;
    Pixel color = 0;
    Font face;
    Rect box;
  };
  void Render();
  void DrawLabel(const Text& text);

  Surface natural_;
  std::vector<Text> texts_;
  std::optional<Prompt> prompt_;
  Rect canvas_;
  std::wstring canvasName_;
  bool pressed_ = false;
  Rect promptArea_;
  uint64_t chromeRevision_ = ~uint64_t{0};

  HDC dc_ = nullptr;
  HGDIOBJ dcBitmap_ = nullptr;  // the memory DC's own bitmap, put back at the end
  DibSection shown_;
  int factor_ = 0;
  LabelFonts fonts_;
  PromptButton button_;
};

}  // namespace ombrevale
