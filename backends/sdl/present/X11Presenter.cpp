#include "backends/sdl/present/X11Presenter.h"

#include <SDL_syswm.h>
#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>

#include "backends/sdl/present/ClientFrame.h"

namespace ombrevale {
namespace {

// A band of the scaled client area is at most this large, where a whole frame for a 4K screen
// would take 19 megabytes: the client area at its natural size still goes in one band, and a
// band small enough to stay in the processor's cache scales and puts faster than a large one
// (at 6x on this program's benchmark machine, 4 MB bands took 11 % of a core, 1 MB ones 9 %).
constexpr size_t kBandBytes = size_t{1} << 20;

bool attachFailed = false;
int NoteAttachFailure(Display*, XErrorEvent*) {
  attachFailed = true;
  return 0;
}

// Attaches the segment to the X server; a server that cannot reach it (a remote one) refuses
// with an X error, caught here rather than left to end the program.
bool Attach(Display* display, XShmSegmentInfo* segment) {
  XSync(display, False);
  attachFailed = false;
  const XErrorHandler previous = XSetErrorHandler(NoteAttachFailure);
  XShmAttach(display, segment);
  XSync(display, False);
  XSetErrorHandler(previous);
  return !attachFailed;
}

}  // namespace

std::unique_ptr<X11Presenter> X11Presenter::Create(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
  Display* display = info.info.x11.display;
  if (!XShmQueryExtension(display)) return nullptr;
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, info.info.x11.window, &attributes)) return nullptr;
  // Our pixels are 0x00RRGGBB: the screen must take them as they are.
  const Visual* visual = attributes.visual;
  if ((attributes.depth != 24 && attributes.depth != 32) || visual->red_mask != 0xFF0000 ||
      visual->green_mask != 0xFF00 || visual->blue_mask != 0xFF) {
    return nullptr;
  }
  std::unique_ptr<X11Presenter> presenter(
      new X11Presenter(window, display, info.info.x11.window, attributes.visual, attributes.depth));
  if (!presenter->MakeBand(kClientWidth, 1)) return nullptr;
  return presenter;
}

X11Presenter::X11Presenter(SDL_Window* window, Display* display, ::Window xwindow, Visual* visual,
                           int depth)
    : window_(window), display_(display), xwindow_(xwindow), visual_(visual), depth_(depth) {
  gc_ = XCreateGC(display_, xwindow_, 0, nullptr);
  XSetWindowBackground(display_, xwindow_, BlackPixel(display_, DefaultScreen(display_)));
}

X11Presenter::~X11Presenter() {
  FreeBand();
  XFreeGC(display_, gc_);
}

void X11Presenter::FreeBand() {
  bandSurface_.reset();
  if (band_ == nullptr) return;
  XShmDetach(display_, &segment_);
  XSync(display_, False);
  band_->data = nullptr;  // the segment's memory is not Xlib's to free
  XDestroyImage(band_);
  shmdt(segment_.shmaddr);
  band_ = nullptr;
}

bool X11Presenter::ShareBand() {
  segment_.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(band_->bytes_per_line) * band_->height,
                          IPC_CREAT | 0600);
  if (segment_.shmid < 0) return false;
  segment_.shmaddr = band_->data = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
  segment_.readOnly = False;
  const bool attached =
      segment_.shmaddr != reinterpret_cast<char*>(-1) && Attach(display_, &segment_);
  // Marked for removal now: it goes when the last of us and the server lets go, even after a crash.
  shmctl(segment_.shmid, IPC_RMID, nullptr);
  if (!attached && segment_.shmaddr != reinterpret_cast<char*>(-1)) shmdt(segment_.shmaddr);
  return attached;
}

bool X11Presenter::MakeBand(int width, int factor) {
  FreeBand();
  const size_t rowBytes = static_cast<size_t>(width) * factor * sizeof(Pixel) * factor;
  // Recorded only once the band is made: after a failure no band is there to write through.
  bandFactor_ = 0;
  bandRows_ = static_cast<int>(std::clamp<size_t>(kBandBytes / rowBytes, 1, kClientHeight));
  segment_ = {};
  band_ = XShmCreateImage(display_, visual_, static_cast<unsigned>(depth_), ZPixmap, nullptr,
                          &segment_, static_cast<unsigned>(width * factor),
                          static_cast<unsigned>(bandRows_ * factor));
  if (band_ == nullptr) return false;
  if (!ShareBand()) {
    band_->data = nullptr;
    XDestroyImage(band_);
    band_ = nullptr;
    return false;
  }
  // The texts and boxes are drawn into the band through SDL, which sees its memory as a picture.
  bandSurface_.reset(SDL_CreateRGBSurfaceWithFormatFrom(band_->data, band_->width, band_->height,
                                                        32, band_->bytes_per_line,
                                                        SDL_PIXELFORMAT_XRGB8888));
  if (!bandSurface_) {
    FreeBand();
    return false;
  }
  bandFactor_ = factor;
  return true;
}

void X11Presenter::ClearBorder(const WholeFactorFit& fit, int w, int h) {
  // A width or height of 0 would mean "to the window's edge": such strips are left out.
  for (const Rect& strip : Rect{0, 0, w, h}.StripsAround(fit.area))
    if (!strip.Empty())
      XClearArea(display_, xwindow_, strip.x, strip.y, static_cast<unsigned>(strip.w),
                 static_cast<unsigned>(strip.h), False);
}

SDL_Point X11Presenter::Size() const {
  SDL_Point size{};
  SDL_GetWindowSize(window_, &size.x, &size.y);
  return size;
}

bool X11Presenter::Present(const SDL_Surface& frame, const WholeFactorFit& fit,
                           std::span<const ShownLayer> layers, bool wholeWindow) {
  const SDL_Point size = Size();
  const int w = size.x, h = size.y;
  if (w != windowWidth_ || h != windowHeight_) {
    windowWidth_ = w;
    windowHeight_ = h;
    wholeWindow = true;
  }
  if (fit.factor != bandFactor_ && !MakeBand(frame.w, fit.factor)) return false;
  if (wholeWindow) ClearBorder(fit, w, h);

  const auto* rows = static_cast<const uint8_t*>(frame.pixels);
  for (int top = 0; top < frame.h; top += bandRows_) {
    const int count = std::min(bandRows_, frame.h - top);
    ScaleWhole(reinterpret_cast<const Pixel*>(rows + static_cast<size_t>(top) * frame.pitch),
               static_cast<size_t>(frame.pitch), frame.w, count, fit.factor,
               reinterpret_cast<Pixel*>(band_->data), static_cast<size_t>(band_->bytes_per_line));
    DrawLayers(layers, bandSurface_.get(), 0, -top * fit.factor);
    XShmPutImage(display_, xwindow_, gc_, band_, 0, 0, fit.area.x, fit.area.y + top * fit.factor,
                 static_cast<unsigned>(frame.w * fit.factor),
                 static_cast<unsigned>(count * fit.factor), False);
    // The band's memory is written again for the next band only once the server has read it.
    XSync(display_, False);
  }
  return true;
}

}  // namespace ombrevale
