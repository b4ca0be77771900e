// Arrays of many megabytes that are read in random order: the system is asked to back them
// with huge pages, which cuts the page faults of filling them and the address-translation
// misses of reading them.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace stationtext {

// Asks the system to back the whole pages of [p, p + bytes) with huge pages, where it can (Linux
// with transparent huge pages); does nothing elsewhere. Memory stays where it was allocated, so
// that the sanitizers see it as any other.
void adviseHugePages(void* p, std::size_t bytes);

// std::allocator, with the advice above for each allocation of at least kHugePageBytes, given
// before the memory is first touched.
template <typename T>
struct BigAllocator {
  using value_type = T;
  // One huge page on x86-64 and arm64: smaller arrays would gain nothing.
  static constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

  BigAllocator() = default;
  template <typename U>
  BigAllocator(const BigAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    T* const p = std::allocator<T>().allocate(n);
    if (n >= kHugePageBytes / sizeof(T)) adviseHugePages(p, n * sizeof(T));
    return p;
  }
  void deallocate(T* p, std::size_t n) noexcept { std::allocator<T>().deallocate(p, n); }
  friend bool operator==(const BigAllocator&, const BigAllocator&) { return true; }
};

template <typename T>
using BigVector = std::vector<T, BigAllocator<T>>;

}  // namespace stationtext
