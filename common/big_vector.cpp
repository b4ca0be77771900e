// Huge-page advice for large arrays: the one place that asks the memory system for it.
#include "big_vector.hpp"

#include <cstdint>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace stationtext {

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

ByteBlock allocateBytes(std::size_t bytes) {
  ByteBlock block(static_cast<char*>(std::malloc(bytes == 0 ? 1 : bytes)));
  if (!block) throw std::bad_alloc();
  if (bytes >= BigAllocator<char>::kHugePageBytes) adviseHugePages(block.get(), bytes);
  return block;
}

void* allocateZeroed(std::size_t bytes) {
  void* const p = std::calloc(bytes == 0 ? 1 : bytes, 1);
  if (p == nullptr) throw std::bad_alloc();
  if (bytes >= BigAllocator<char>::kHugePageBytes) adviseHugePages(p, bytes);
  return p;
}

void* growBlock(void* block, std::size_t bytes) {
  void* const grown = std::realloc(block, bytes == 0 ? 1 : bytes);
  if (grown == nullptr) throw std::bad_alloc();
  if (bytes >= BigAllocator<char>::kHugePageBytes) adviseHugePages(grown, bytes);
  return grown;
}

void resizeBytes(ByteBlock& block, std::size_t bytes) {
  char* const resized = static_cast<char*>(growBlock(block.get(), bytes));
  static_cast<void>(block.release());  // growBlock() has taken it over
  block.reset(resized);
}

}  // namespace stationtext
