#include "platform/FreshPages.h"

#if defined(_WIN32)
#include <windows.h>
#elif !defined(__EMSCRIPTEN__)
#include <sys/mman.h>
#endif

namespace ombrevale {

#if defined(__EMSCRIPTEN__)
namespace {

// Zeroes a block of the page's memory in one step of WebAssembly's own (memory.fill, with bulk
// memory on), where the C library's calloc clears it a word at a time. Kept apart from the
// allocation, so that the compiler does not make the two a calloc again.
[[gnu::noinline]] void ZeroBlock(void* block, size_t bytes) {
  __builtin_memset(block, 0, bytes);
}

}  // namespace
#endif

void* MapFreshPages(size_t bytes) {
#if defined(_WIN32)
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
#elif defined(__EMSCRIPTEN__)
  // The page's memory is one block already: nothing to gain but a quick clearing.
  void* block = std::malloc(bytes);
  if (block != nullptr) ZeroBlock(block, bytes);
  return block;
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
