// Draws the title vision in a real window on the X display, frame by frame from a fixed seed, and
// prints a hash of what the window shows after each frame, read back from the X server itself,
// leaving out where texts and boxes lie over the pictures. Two runs that present differently
// (software, the graphics card) must print the same hashes: the pictures are the same pixels. The
// texts are blended by each presenter its own way, so with OMBREVALE_FRAMES_DIR set each frame is
// also written there whole (frame-N.ppm), for a comparison that allows for that. With
// OMBREVALE_CANVAS_DIR set, the canvas as the window shows it is written there at its own size, a
// pixel of each block of the shown factor (canvas-N.ppm), for a comparison with the renderer's
// frames seen at the window's size. The frames pass through the flash limit at the size the window
// shows them, as in the program.
//
//   window_frames FRAMES WIDTHxHEIGHT [THEN_WIDTHxHEIGHT]   (run from the repository root: reads
//   dat/)
//
// The first line names how the window draws; then one line a frame. With a second size, the window
// is resized to it halfway, as a person would resize it while the vision runs.

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "backends/sdl/window/SdlDesktop.h"
#include "backends/sdl/window/SdlVideo.h"
#include "platform/PageLayout.h"
#include "tools/Render.h"

namespace ombrevale {
namespace {

bool InAny(const std::vector<SDL_Rect>& areas, int x, int y) {
  const SDL_Point p{x, y};
  for (const SDL_Rect& area : areas)
    if (SDL_PointInRect(&p, &area)) return true;
  return false;
}

// The window's pixels as the X server holds them, or nothing; freed with XDestroyImage.
XImage* ReadWindow(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
  Display* display = info.info.x11.display;
  XSync(display, False);
  XWindowAttributes attributes{};
  XGetWindowAttributes(display, info.info.x11.window, &attributes);
  return XGetImage(display, info.info.x11.window, 0, 0, attributes.width, attributes.height,
                   AllPlanes, ZPixmap);
}

// The pixel at (x, y) of the window's pixels, as 0x00RRGGBB: read in place from an image of 32 bits
// a pixel, the X server's at 24-bit depth, as XGetPixel is slow for a large window.
uint32_t PixelAt(const XImage* image, int x, int y) {
  if (image->bits_per_pixel == 32 && image->byte_order == LSBFirst) {
    const char* row = image->data + static_cast<size_t>(y) * image->bytes_per_line;
    return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFFu;
  }
  return static_cast<uint32_t>(XGetPixel(const_cast<XImage*>(image), x, y)) & 0xFFFFFFu;
}

// The canvas of the window's pixels, the client area shown at `factor` and centred: the top-left
// pixel of each of its blocks, written to `ppm`.
void WriteCanvas(XImage* image, int factor, const std::string& ppm) {
  std::FILE* out = std::fopen(ppm.c_str(), "wb");
  if (out == nullptr) return;
  std::fprintf(out, "P6\n%d %d\n255\n", kCanvasWidth, kCanvasHeight);
  const int left = (image->width - kClientWidth * factor) / 2 + kPageFrame * factor;
  const int top =
      (image->height - kClientHeight * factor) / 2 + (kMenuHeight + kPageFrame) * factor;
  for (int y = 0; y < kCanvasHeight; ++y) {
    for (int x = 0; x < kCanvasWidth; ++x) {
      const uint32_t p = PixelAt(image, left + x * factor, top + y * factor);
      const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16),
                                    static_cast<unsigned char>(p >> 8),
                                    static_cast<unsigned char>(p)};
      std::fwrite(rgb, 1, 3, out);
    }
  }
  std::fclose(out);
}

// FNV-1a over the window's pixels `image`, colour bits only, outside `skip`; and, when `ppm` is
// given, the whole window written there.
uint64_t HashWindow(XImage* image, const std::vector<SDL_Rect>& skip, const char* ppm) {
  std::FILE* out = ppm != nullptr ? std::fopen(ppm, "wb") : nullptr;
  if (out != nullptr) std::fprintf(out, "P6\n%d %d\n255\n", image->width, image->height);
  uint64_t hash = 1469598103934665603ull;
  for (int y = 0; y < image->height; ++y) {
    for (int x = 0; x < image->width; ++x) {
      const uint32_t p = PixelAt(image, x, y);
      if (out != nullptr) {
        const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16),
                                      static_cast<unsigned char>(p >> 8),
                                      static_cast<unsigned char>(p)};
        std::fwrite(rgb, 1, 3, out);
      }
      if (InAny(skip, x, y)) continue;
      for (int b = 0; b < 3; ++b) hash = (hash ^ ((p >> (8 * b)) & 0xFF)) * 1099511628211ull;
    }
  }
  if (out != nullptr) std::fclose(out);
  return hash;
}

// The path of frame `index` in the folder the environment variable `folder` names, or "".
std::string FramePath(const char* folder, const char* name, int index) {
  const char* dir = std::getenv(folder);
  return dir != nullptr ? std::string(dir) + "/" + name + "-" + std::to_string(index) + ".ppm" : "";
}

}  // namespace
}  // namespace ombrevale

int main(int argc, char** argv) {
  using namespace ombrevale;
  int frames = 0, width = 0, height = 0, thenWidth = 0, thenHeight = 0;
  if ((argc != 3 && argc != 4) || (frames = std::atoi(argv[1])) <= 0 ||
      std::sscanf(argv[2], "%dx%d", &width, &height) != 2 ||
      (argc == 4 && std::sscanf(argv[3], "%dx%d", &thenWidth, &thenHeight) != 2)) {
    std::fprintf(stderr, "usage: window_frames FRAMES WIDTHxHEIGHT [THEN_WIDTHxHEIGHT]\n");
    return 2;
  }
  SdlVideo video;
  RenderOptions options;  // seen at the size the window shows it
  options.seed = 6;
  SeededTitle title(options);
  SDL_Window* window = title.Desktop().Window();
  // Wholly on the screen, where the X server can hand back every pixel.
  SDL_SetWindowPosition(window, 0, 0);
  // Until the window is at its new size and shown: its events are its own, nothing is delivered.
  auto resize = [window](int w, int h) {
    SDL_SetWindowSize(window, w, h);
    for (int i = 0; i < 50; ++i) {
      SDL_PumpEvents();
      SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
      SDL_Delay(10);
    }
  };
  resize(width, height);
  std::printf("drawing: %s\n", title.Desktop().DrawingName().c_str());
  for (int i = 0; i < frames; ++i) {
    if (argc == 4 && i == frames / 2) resize(thenWidth, thenHeight);
    title.DrawFrame(i);
    XImage* image = ReadWindow(window);
    uint64_t hash = 0;
    if (image != nullptr) {
      const std::string ppm = FramePath("OMBREVALE_FRAMES_DIR", "frame", i);
      hash = HashWindow(image, title.Desktop().LayerAreas(), ppm.empty() ? nullptr : ppm.c_str());
      const std::string canvas = FramePath("OMBREVALE_CANVAS_DIR", "canvas", i);
      if (!canvas.empty()) WriteCanvas(image, title.Desktop().ShownFactor(), canvas);
      XDestroyImage(image);
    }
    std::printf("frame %d: %016llx\n", i, static_cast<unsigned long long>(hash));
  }
  return 0;
}
