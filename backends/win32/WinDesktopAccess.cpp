// The window and screen readers: the page's parts the window draws itself, answered through the
// system's accessibility interface, and a press of the prompt's button carried out as a click.

#include "backends/win32/WinDesktop.h"

namespace ombrevale {

LRESULT WinDesktop::OnAccessible(UINT message, WPARAM w, LPARAM l) {
  if (message == kPromptPressed) {
    // As a click on the button: only while it shows, and never while the box is open.
    if (events_ != nullptr && !boxOpen_ && !page_.PromptButtonArea().Empty())
      events_->PromptClick();
    return 0;
  }
  if (const LRESULT answer = accessible_ != nullptr ? accessible_->Answer(w, l) : 0) return answer;
  return DefWindowProcW(window_, message, w, l);
}

std::vector<PagePart> WinDesktop::AccessibleParts() const {
  RECT client{};
  GetClientRect(window_, &client);
  const Rect page = page_.PlaceIn(client.right, client.bottom);
  std::vector<PagePart> parts = page_.Parts();
  for (PagePart& part : parts) part.box = part.box.Offset(page.x, page.y);
  return parts;
}

}  // namespace ombrevale
