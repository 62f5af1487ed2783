#pragma once

// How much of a picture's memory the process really holds: the tests of pictures read over fresh
// black count the pages its pixels touched, which black never does. Linux only (mincore).

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Surface.h"

namespace ombrevale {

// How many of the pages under a surface's pixels the process holds in memory; SIZE_MAX when the
// system cannot say.
inline size_t ResidentPages(const Surface& s) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<uintptr_t>(s.Pixels().data()) / page * page;
  const auto end = reinterpret_cast<uintptr_t>(s.Pixels().data() + s.Pixels().size());
  std::vector<unsigned char> resident((end - start + page - 1) / page);
  if (mincore(reinterpret_cast<void*>(start), end - start, resident.data()) != 0) return SIZE_MAX;
  size_t count = 0;
  for (unsigned char r : resident) count += r & 1;
  return count;
}

}  // namespace ombrevale
#endif
