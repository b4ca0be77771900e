// Huge-page advice for large arrays: the one place that asks the memory system for it.
#include "big_vector.hpp"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace stationtext {

void adviseHugePages(void* p, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto begin = (reinterpret_cast<std::uintptr_t>(p) + page - 1) / page * page;
  const auto end = (reinterpret_cast<std::uintptr_t>(p) + bytes) / page * page;
  // Advice only: where it is refused, the pages stay ordinary ones.
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)p;
  (void)bytes;
#endif
}

}  // namespace stationtext
