#include "platform/win32/WholeFactorFit.h"

#include <algorithm>

namespace ombrevale {

PageFit FitPage(int clientWidth, int clientHeight, int pageWidth, int pageHeight) {
  PageFit fit;
  if (pageWidth <= 0 || pageHeight <= 0) return fit;
  fit.factor = std::max(1, std::min(clientWidth / pageWidth, clientHeight / pageHeight));
  fit.width = pageWidth * fit.factor;
  fit.height = pageHeight * fit.factor;
  fit.x = std::max(0, (clientWidth - fit.width) / 2);
  fit.y = std::max(0, (clientHeight - fit.height) / 2);
  return fit;
}

}  // namespace ombrevale
