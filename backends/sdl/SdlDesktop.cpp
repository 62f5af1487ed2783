#include "backends/sdl/SdlDesktop.h"

#include "backends/sdl/PreciseWait.h"
#include "backends/sdl/RendererChoice.h"
#include "backends/sdl/SoftwarePresenter.h"
#include "backends/sdl/WindowIcon.h"

namespace ombrevale {
namespace {

WindowPtr CreateWindow() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) throw FatalError("The window needs SDL's video started");
  // In software, frames go through plain X11 shared memory rather than a GL-emulated window
  // surface: on a desktop without a GPU that is a fifth of the cost.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  return SdlOwn<WindowPtr>(
      SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kClientWidth,
                       kClientHeight, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE),
      "Creating the window");
}

}  // namespace

SdlDesktop::SdlDesktop(Clock& clock)
    : clock_(clock),
      window_(CreateWindow()),
      presenter_(MakePresenter(window_.get())),
      placement_(window_.get()),
      fullscreen_(window_.get()) {
  SDL_SetWindowMinimumSize(window_.get(), kClientWidth, kClientHeight);
  SurfacePtr icon = MakeWindowIcon();
  SDL_SetWindowIcon(window_.get(), icon.get());
  // Keys arrive as key events; no input method is needed.
  SDL_StopTextInput();
}

SdlDesktop::~SdlDesktop() = default;

// The window keeps the size at which its client area holds the menu strip and one page: the
// requested outer size only approximates that, and nothing in the program follows a resize.
void SdlDesktop::SetWindowSize(float, float) {}

void SdlDesktop::SetCaption(std::string_view caption) {
  SDL_SetWindowTitle(window_.get(), std::string(caption).c_str());
}

void SdlDesktop::SetMenu(const std::vector<std::string>& entries) {
  menu_.SetEntries(entries);
  Repaint();
}

void SdlDesktop::ShowWindow() {
  SDL_ShowWindow(window_.get());
  shown_ = true;
  if (fullscreenAtShow_) fullscreen_.Set(true);
  wholeWindowDue_ = true;
  Repaint();
}

void SdlDesktop::SetFullscreen(bool on) {
  if (!shown_) {
    fullscreenAtShow_ = on;
    return;
  }
  fullscreen_.Set(on);
  wholeWindowDue_ = repaintDue_ = true;
}

void SdlDesktop::WaitEvents(std::optional<uint32_t> due) {
  WaitForEvents(clock_, due);
}

void SdlDesktop::Present(const Scene& scene) {
  page_.Upload(scene);
  Repaint();
}

void SdlDesktop::Repaint() {
  menu_.Draw();
  page_.Draw();
  box_.Draw();
  const SDL_Surface& frame = *frame_.Finish();
  if (!presenter_->Present(frame, wholeWindowDue_)) {
    presenter_ = std::make_unique<SoftwarePresenter>(window_.get());
    if (!presenter_->Present(frame, true)) throw FatalError("Showing the window's frame failed");
  }
  repaintDue_ = wholeWindowDue_ = false;
}

SDL_Point SdlDesktop::ToClient(int x, int y) const {
  const WholeFactorFit fit = presenter_->Fit();
  return {fit.ToPictureX(x), fit.ToPictureY(y)};
}

void SdlDesktop::HoverUnderPointer() {
  menu_.Release();
  int x = 0, y = 0;
  SDL_GetMouseState(&x, &y);
  if (SDL_GetMouseFocus() == window_.get()) {
    const SDL_Point p = ToClient(x, y);
    menu_.Hover(menu_.EntryAt(p.x, p.y));
  }
}

}  // namespace ombrevale
