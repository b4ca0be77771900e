// Memory for large arrays: the one place that asks the memory system for blocks and huge pages.
#include "big_memory.hpp"

#include <cstdint>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace stationtext {

namespace {

// One huge page on x86-64 and arm64: smaller blocks would gain nothing from the advice.
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

}  // namespace

void adviseHugePages(void* p, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  // Every page that the block touches, not only its whole pages: a large block is mostly a
  // mapping of its own that starts a few bytes before it and ends in a part of a page, and advice
  // for part of a mapping splits it in two, which realloc() can no longer remap as one (it would
  // copy). Where the block lies in the heap instead, advice on its neighbours' pages is harmless.
  const auto begin = reinterpret_cast<std::uintptr_t>(p) / page * page;
  const auto end = (reinterpret_cast<std::uintptr_t>(p) + bytes + page - 1) / page * page;
  // Advice only: where it is refused, the pages stay ordinary ones.
  madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)p;
  (void)bytes;
#endif
}

void* resizeBlock(void* block, std::size_t bytes) {
  void* const resized = std::realloc(block, bytes == 0 ? 1 : bytes);
  if (resized == nullptr) throw std::bad_alloc();
  if (bytes >= kHugePageBytes) adviseHugePages(resized, bytes);
  return resized;
}

void* zeroedBlock(std::size_t bytes) {
  void* const p = std::calloc(bytes == 0 ? 1 : bytes, 1);
  if (p == nullptr) throw std::bad_alloc();
  if (bytes >= kHugePageBytes) adviseHugePages(p, bytes);
  return p;
}

}  // namespace stationtext
