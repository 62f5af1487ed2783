#pragma once

// Where pictures keep their pixels: a large block comes straight from the system as fresh pages,
// which read as zero and cost no memory until something is written to them, so a picture's
// black that is never drawn on stays free. Small blocks come from the ordinary heap, zeroed.

#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>

namespace ombrevale {

// Pages of their own, zero until written; nullptr when the system has none to give.
void* MapFreshPages(size_t bytes);
void UnmapFreshPages(void* block, size_t bytes) noexcept;

// An allocator whose blocks are all zero when handed out, and whose elements constructed without
// a value are left as the block holds them (zero in a fresh block) rather than written.
template <class T>
class FreshPages {
 public:
  using value_type = T;
  // From this size on a block is pages of its own: a canvas or a picture, never a row.
  static constexpr size_t kOwnPagesFrom = size_t{64} << 10;

  FreshPages() = default;
  template <class U>
  FreshPages(const FreshPages<U>&) noexcept {}

  T* allocate(size_t n) {
    if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    const size_t bytes = n * sizeof(T);
    void* block =
        bytes >= kOwnPagesFrom ? MapFreshPages(bytes) : std::calloc(n == 0 ? 1 : n, sizeof(T));
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<T*>(block);
  }

  void deallocate(T* p, size_t n) noexcept {
    const size_t bytes = n * sizeof(T);
    if (bytes >= kOwnPagesFrom) {
      UnmapFreshPages(p, bytes);
    } else {
      std::free(p);
    }
  }

  // Default-initialised: nothing is written, so untouched pages stay the system's.
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }

  template <class U>
  bool operator==(const FreshPages<U>&) const noexcept {
    return true;
  }
};

}  // namespace ombrevale
