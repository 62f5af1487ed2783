#pragma once

// Where the page lands in a client area of any size: scaled by the largest whole factor that
// fits (at least 1), centred, the rest of the client area black.

namespace ombrevale {

struct PageFit {
  int factor = 1;
  int x = 0, y = 0;           // the page's top-left corner in the client area
  int width = 0, height = 0;  // the page's size on screen
};

// The fit of a `pageWidth` x `pageHeight` page in a `clientWidth` x `clientHeight` client area.
// A client area smaller than the page shows it at its own size from the top-left corner.
PageFit FitPage(int clientWidth, int clientHeight, int pageWidth, int pageHeight);

}  // namespace ombrevale
