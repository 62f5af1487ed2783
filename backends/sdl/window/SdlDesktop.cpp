#include "backends/sdl/window/SdlDesktop.h"

#include <algorithm>
#include <cstring>

#include "backends/sdl/SdlRect.h"
#include "backends/sdl/present/RendererChoice.h"
#include "backends/sdl/present/SoftwarePresenter.h"
#include "backends/sdl/window/PreciseWait.h"
#include "backends/sdl/window/WindowIcon.h"
#include "platform/Complaint.h"
#include "platform/scale/PageScale.h"
#include "platform/scale/ScreenFit.h"

namespace ombrevale {
namespace {

bool DriverIs(const char* name) {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && std::strcmp(driver, name) == 0;
}

WindowPtr CreateWindow() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) throw FatalError("the window needs SDL's video started");
  // On X11, in software, frames go through plain X11 shared memory rather than a GL-emulated
  // window surface: on a desktop without a GPU that is a fifth of the cost. Wayland has no way to
  // SDL's window memory but through its renderer: there it is left as SDL has it.
  if (!DriverIs("wayland")) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  return SdlOwn<WindowPtr>(
      SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kClientWidth,
                       kClientHeight,
                       SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI),
      "creating the window");
}

// The screen the window is on as the page sees it: its size in the window's pixels (its units at
// the output's scale), and how many of them the largest window counts to a unit: the output's
// scale as the page takes it. A Wayland output may claim a scale no screen has (a hundredth:
// 128000 x 80000 points for 1280 x 800 pixels) and tell the window its true scale only once the
// window shows, where a window the compositor sized to the screen would need more memory than
// there is: a screen that claims more pixels than the largest there is has no size here (0 x 0).
struct ScreenView {
  int width = 0, height = 0;
  double pixelsPerUnit = 1;
};
ScreenView ViewOf(SDL_Point units, double ratio) {
  const double w = units.x * ratio, h = units.y * ratio;
  if (w > kLargestScreen || h > kLargestScreen) return {};
  return {static_cast<int>(w), static_cast<int>(h), std::max(ratio, SaneScale(ratio))};
}

}  // namespace

SdlDesktop::SdlDesktop(Clock& clock, std::optional<int> scale)
    : clock_(clock),
      askedScale_(scale),
      window_(CreateWindow()),
      settings_(OpenDesktopSettings(window_.get())),
      presenter_(MakePresenter(window_.get())),
      placement_(window_.get()),
      fullscreen_(window_.get()) {
  FollowDesktopScale();
  FitWindowToScale();
  SurfacePtr icon = MakeWindowIcon();
  SDL_SetWindowIcon(window_.get(), icon.get());
  // Keys arrive as key events; no input method is needed.
  SDL_StopTextInput();
}

SdlDesktop::~SdlDesktop() = default;

bool SdlDesktop::PrefersLessMotion() {
  const std::optional<bool> on = settings_->AnimationsEnabled();
  return on.has_value() && !*on;
}

bool SdlDesktop::FollowDesktopScale() {
  const double desktop = settings_->Scale();
  desktopScale_ = desktop;
  const ScreenView screen = ViewOf(placement_.ScreenSize(), WindowPixelRatio(window_.get()));
  const ScreenFit fit =
      FitOnScreen(askedScale_, desktop, screen.width, screen.height, kClientWidth, kClientHeight);
  if (fit.absurd && !absurdScaleSaid_) {
    absurdScaleSaid_ = true;
    Complain(AbsurdScaleSentence(desktop));
  }
  // At least the client area at the factor, at most the screen; no larger than the page where the
  // screen is not believed.
  const int unit = WindowPixelsPerUnit(window_.get());
  const int leastW = (kClientWidth * fit.factor + unit - 1) / unit;
  const int leastH = (kClientHeight * fit.factor + unit - 1) / unit;
  const auto largest = [&screen](int pixels, int least) {
    return pixels > 0 ? std::max(1, static_cast<int>(pixels / screen.pixelsPerUnit)) : least;
  };
  const int maxW = largest(screen.width, leastW), maxH = largest(screen.height, leastH);
  LimitWindowSize(std::min(leastW, maxW), std::min(leastH, maxH), maxW, maxH);
  if (fit.factor == pageScale_) return false;
  pageScale_ = fit.factor;
  return true;
}

void SdlDesktop::LimitWindowSize(int minWidth, int minHeight, int maxWidth, int maxHeight) {
  // SDL refuses a least size above the largest, and the other way round: the limits are lifted
  // first.
  SDL_SetWindowMaximumSize(window_.get(), 1 << 16, 1 << 16);
  SDL_SetWindowMinimumSize(window_.get(), minWidth, minHeight);
  SDL_SetWindowMaximumSize(window_.get(), maxWidth, maxHeight);
}

void SdlDesktop::FitWindowToScale() {
  const int unit = WindowPixelsPerUnit(window_.get());
  const int w = (kClientWidth * pageScale_ + unit - 1) / unit;
  const int h = (kClientHeight * pageScale_ + unit - 1) / unit;
  const bool maximised = (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_MAXIMIZED) != 0;
  if (!fullscreen_.On() && !maximised) SDL_SetWindowSize(window_.get(), w, h);
  placement_.SetTwipsPerUnit(TwipsPerPixelAt(pageScale_) * static_cast<float>(unit));
}

// The window keeps the size at which its client area holds the menu strip and one page at the
// page's factor: the requested outer size only approximates that, and nothing in the program
// follows a resize.
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

std::optional<WindowShape> SdlDesktop::Shape() {
  int w = 0, h = 0;
  SDL_GetWindowSizeInPixels(window_.get(), &w, &h);
  return WindowShape{w, h, fullscreen_.On()};
}

void SdlDesktop::SetShape(const WindowShape& shape) {
  if (shape.fullscreen != fullscreen_.On()) SetFullscreen(shape.fullscreen);
  if (!shape.fullscreen && shape.width > 0 && shape.height > 0) {
    const int unit = WindowPixelsPerUnit(window_.get());
    SDL_SetWindowSize(window_.get(), shape.width / unit, shape.height / unit);
  }
  wholeWindowDue_ = repaintDue_ = true;
}

void SdlDesktop::WaitEvents(std::optional<uint32_t> due) {
  WaitForEvents(clock_, due);
}

void SdlDesktop::Present(const Scene& scene) {
  page_.Upload(scene);
  const Rect canvas = scene.canvas != nullptr ? scene.canvas->Bounds().Offset(
                                                    scene.canvasX, scene.canvasY + kMenuHeight)
                                              : kPageArea;
  prompt_.Show(scene.prompt, canvas.Intersect(kPageArea));
  access_.TakeScene(scene, canvas);
  Repaint();
}

WholeFactorFit SdlDesktop::ShownFit() const {
  const SDL_Point size = presenter_->Size();
  int pw = 0, ph = 0;
  SDL_GetWindowSizeInPixels(window_.get(), &pw, &ph);
  // The page's factor in the presenter's own pixels: N, but in SDL's window memory on a scaled
  // Wayland output, which counts points, N over the output's scale.
  const int least = pw > 0 ? std::max(1, pageScale_ * size.x / pw) : pageScale_;
  return FitWholeFactor(size.x, size.y, kClientWidth, kClientHeight, least);
}

double SdlDesktop::ShownScale() {
  // The factor in the presenter's pixels, in the window's units: the screen's pixels on X11, the
  // output's logical pixels on Wayland (where SDL counts the window's size in points)...
  int w = 0, h = 0;
  SDL_GetWindowSize(window_.get(), &w, &h);
  const int across = presenter_->Size().x;
  double scale = ShownFit().factor * (w > 0 && across > 0 ? static_cast<double>(w) / across : 1);
  // ...and where the window's pixels are its units (X11, whose programs draw a pixel a dot), at
  // the desktop's dots per inch.
  if (WindowPixelRatio(window_.get()) == 1) scale /= desktopScale_;
  return scale;
}

void SdlDesktop::GatherLayers(int factor) {
  layers_.clear();
  menu_.AddLayers(factor, layers_);
  page_.AddLayers(factor, layers_);
  prompt_.AddLayers(factor, layers_);
  box_.AddLayers(factor, layers_);
}

void SdlDesktop::Repaint() {
  menu_.Draw();
  page_.Draw();
  const SDL_Surface& frame = *frame_.Finish();
  WholeFactorFit fit = ShownFit();
  GatherLayers(fit.factor);
  if (!presenter_->Present(frame, fit, layers_, wholeWindowDue_)) {
    presenter_ = std::make_unique<SoftwarePresenter>(window_.get());
    if (ShownFit().factor != fit.factor) {
      fit = ShownFit();
      GatherLayers(fit.factor);
    }
    if (!presenter_->Present(frame, fit, layers_, true))
      throw FatalError("showing the window's frame failed");
  }
  repaintDue_ = wholeWindowDue_ = false;
  PublishAccess();
}

Surface SdlDesktop::ReadClientArea() {
  const SDL_Surface* frame = frame_.Finish();
  const int factor = ShownFit().factor;
  GatherLayers(factor);
  const int w = kClientWidth * factor, h = kClientHeight * factor;
  SurfacePtr shown =
      SdlOwn<SurfacePtr>(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_XRGB8888),
                         "reading the client area");
  ScaleWhole(static_cast<const Pixel*>(frame->pixels), static_cast<size_t>(frame->pitch),
             kClientWidth, kClientHeight, factor, static_cast<Pixel*>(shown->pixels),
             static_cast<size_t>(shown->pitch));
  DrawLayers(layers_, shown.get(), 0, 0);
  Surface copy(w, h);
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const Pixel*>(static_cast<const uint8_t*>(shown->pixels) +
                                                     static_cast<size_t>(y) * shown->pitch);
    Pixel* out = copy.Row(y);
    for (int x = 0; x < w; ++x) out[x] = row[x] & 0x00FFFFFF;  // the unused byte
  }
  return copy;
}

std::vector<SDL_Rect> SdlDesktop::LayerAreas() const {
  const WholeFactorFit fit = ShownFit();
  std::vector<SDL_Rect> areas;
  for (const ShownLayer& layer : layers_) {
    const Rect area = FromSdl(layer.at).Intersect(FromSdl(layer.clip));
    if (!area.Empty()) areas.push_back(ToSdl(area.Offset(fit.area.x, fit.area.y)));
  }
  return areas;
}

SDL_Point SdlDesktop::ToClient(int x, int y) const {
  // SDL gives the pointer in the window's units; the presenter draws in its own pixels.
  int w = 0, h = 0;
  SDL_GetWindowSize(window_.get(), &w, &h);
  const SDL_Point size = presenter_->Size();
  const int px = w > 0 ? static_cast<int>(int64_t{x} * size.x / w) : x;
  const int py = h > 0 ? static_cast<int>(int64_t{y} * size.y / h) : y;
  const WholeFactorFit fit = ShownFit();
  return {fit.ToPictureX(px), fit.ToPictureY(py)};
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
