/* Counts the frames a running Ombrevale draws, without touching the program: loaded into it with
   LD_PRELOAD, it stands between the program and SDL for a few calls and passes them on.

   A frame is a present that brings new pixels of the page: the window uploads the canvas into its
   page texture (SDL_UpdateTexture with a rectangle) and then presents, through the window's own
   memory (SDL_UpdateWindowSurface, or its Rects form), straight to the X server in bands from the
   top down (XShmPutImage: a band no lower than the last one starts a new present), or through the
   graphics card (SDL_RenderPresent). The window's other
   repaints (a menu entry lit under the pointer, an exposure, the strip after the version box)
   present without an upload and count only among the presents.

   The counts live in a file named by OMBREVALE_FRAME_COUNTER, mapped into memory and updated at
   each present, so that another process can read them while the program runs: two unsigned
   64-bit numbers in the machine's byte order, the frames and then all presents. Without the
   variable nothing is counted. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

/* SDL's own types are opaque here: the calls are only passed on. */
typedef int (*UpdateTextureFn)(void* texture, const void* rect, const void* pixels, int pitch);
typedef void (*RenderPresentFn)(void* renderer);
typedef int (*UpdateWindowSurfaceFn)(void* window);
typedef int (*UpdateWindowSurfaceRectsFn)(void* window, const void* rects, int count);
typedef int (*ShmPutImageFn)(void* display, unsigned long drawable, void* gc, void* image, int srcX,
                             int srcY, int dstX, int dstY, unsigned width, unsigned height,
                             int sendEvent);

static volatile uint64_t* counts; /* [0] frames, [1] presents */
static int countsTried;
static int pageUploaded;

/* SDL's own function of that name. */
typedef void (*AnyFn)(void);
static AnyFn Next(const char* name) {
  void* symbol = dlsym(RTLD_NEXT, name);
  AnyFn fn;
  memcpy(&fn, &symbol, sizeof fn); /* ISO C has no cast from an object pointer to a function's */
  return fn;
}

static void OpenCounts(void) {
  countsTried = 1;
  const char* path = getenv("OMBREVALE_FRAME_COUNTER");
  if (path == NULL || *path == '\0') return;
  int fd = open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  if (ftruncate(fd, 2 * sizeof(uint64_t)) == 0) {
    void* map = mmap(NULL, 2 * sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (map != MAP_FAILED) counts = (volatile uint64_t*)map;
  }
  close(fd);
}

int SDL_UpdateTexture(void* texture, const void* rect, const void* pixels, int pitch) {
  static UpdateTextureFn next;
  if (next == NULL) next = (UpdateTextureFn)Next("SDL_UpdateTexture");
  /* Only a part of the page is uploaded with a rectangle; the whole-texture upload is the black
     page the window starts with. */
  if (rect != NULL) pageUploaded = 1;
  return next(texture, rect, pixels, pitch);
}

/* One present: a frame when the page was uploaded since the last one. */
static void Presented(void) {
  if (!countsTried) OpenCounts();
  if (counts != NULL) {
    if (pageUploaded) counts[0] = counts[0] + 1;
    counts[1] = counts[1] + 1;
  }
  pageUploaded = 0;
}

void SDL_RenderPresent(void* renderer) {
  static RenderPresentFn next;
  if (next == NULL) next = (RenderPresentFn)Next("SDL_RenderPresent");
  next(renderer);
  Presented();
}

int SDL_UpdateWindowSurface(void* window) {
  static UpdateWindowSurfaceFn next;
  if (next == NULL) next = (UpdateWindowSurfaceFn)Next("SDL_UpdateWindowSurface");
  const int result = next(window);
  Presented();
  return result;
}

int SDL_UpdateWindowSurfaceRects(void* window, const void* rects, int count) {
  static UpdateWindowSurfaceRectsFn next;
  if (next == NULL) next = (UpdateWindowSurfaceRectsFn)Next("SDL_UpdateWindowSurfaceRects");
  const int result = next(window, rects, count);
  Presented();
  return result;
}

int XShmPutImage(void* display, unsigned long drawable, void* gc, void* image, int srcX, int srcY,
                 int dstX, int dstY, unsigned width, unsigned height, int sendEvent) {
  static ShmPutImageFn next;
  static int lastY = 1 << 30;
  if (next == NULL) next = (ShmPutImageFn)Next("XShmPutImage");
  const int result =
      next(display, drawable, gc, image, srcX, srcY, dstX, dstY, width, height, sendEvent);
  if (dstY <= lastY) Presented();
  lastY = dstY;
  return result;
}
