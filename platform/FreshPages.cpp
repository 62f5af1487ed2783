#include "platform/FreshPages.h"

#if defined(_WIN32)
#include <windows.h>
#elif !defined(__EMSCRIPTEN__)
#include <sys/mman.h>
#endif

namespace ombrevale {

void* MapFreshPages(size_t bytes) {
#if defined(_WIN32)
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
#elif defined(__EMSCRIPTEN__)
  return std::calloc(bytes, 1);  // the page's memory is one block already: nothing to gain
#else
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return block == MAP_FAILED ? nullptr : block;
#endif
}

void UnmapFreshPages(void* block, size_t bytes) noexcept {
#if defined(_WIN32)
  (void)bytes;
  VirtualFree(block, 0, MEM_RELEASE);
#elif defined(__EMSCRIPTEN__)
  (void)bytes;
  std::free(block);
#else
  munmap(block, bytes);
#endif
}

}  // namespace ombrevale
