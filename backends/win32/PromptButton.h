#pragma once

// The calm start's button as the page shows it, in the look of the system's own push buttons: its
// face and raised edges in the system's colours, every edge as thick as one of the page's pixels,
// its caption in the system's message font at the page's factor, centred on the canvas; and under
// it the line that names the keys that press it too.

#include <map>

#include "backends/win32/WindowsApi.h"
#include "platform/Desktop.h"
#include "platform/Rect.h"

namespace ombrevale {

class PromptButton {
 public:
  PromptButton() = default;
  ~PromptButton();
  PromptButton(const PromptButton&) = delete;
  PromptButton& operator=(const PromptButton&) = delete;

  // Draws `prompt` on `dc`, a page shown at `factor` times its natural size, centred on `canvas`
  // (in the page's natural pixels); `pressed`, the button is drawn pushed in. Returns where the
  // button lies, in the shown page's pixels.
  Rect Draw(HDC dc, const Prompt& prompt, const Rect& canvas, int factor, bool pressed);

 private:
  // The system's message font at `factor` times 96 dots per inch.
  HFONT FontAt(int factor);

  std::map<int, HFONT> fonts_;
};

}  // namespace ombrevale
