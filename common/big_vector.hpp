// Arrays of many megabytes that are read in random order: the system is asked to back them
// with huge pages, which cuts the page faults of filling them and the address-translation
// misses of reading them.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <type_traits>
#include <vector>

namespace stationtext {

// Asks the system to back the whole pages of [p, p + bytes) with huge pages, where it can (Linux
// with transparent huge pages); does nothing elsewhere. Memory stays where it was allocated, so
// that the sanitizers see it as any other.
void adviseHugePages(void* p, std::size_t bytes);

// Has the C allocator give every block of a megabyte or more back to the system when it
// is freed, instead of keeping it for later blocks; a program's memory then follows what it
// holds. (glibc otherwise raises that bound to the size of each large block freed, so that
// the big arrays of one stage, once freed, stay with the process while the next stage's
// arrays are made anew.) Does nothing with other C libraries.
void releaseLargeBlocksWhenFreed();

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

struct FreeMemory {
  void operator()(void* p) const { std::free(p); }
};
// Bytes from the C allocator, whose large blocks the system can grow and shrink by remapping
// their pages instead of copying them.
using ByteBlock = std::unique_ptr<char[], FreeMemory>;

// `bytes` bytes, not zeroed, with the huge-page advice when there are enough of them. Throws
// std::bad_alloc when the system refuses.
ByteBlock allocateBytes(std::size_t bytes);
// Makes `block` `bytes` long, keeping what it holds up to that length. Throws std::bad_alloc
// when the system refuses, and `block` is then as it was.
void resizeBytes(ByteBlock& block, std::size_t bytes);

// `bytes` zeroed bytes, with the huge-page advice when there are enough of them. Fresh memory
// comes zeroed from the system, so it is not written twice. Throws std::bad_alloc when the
// system refuses.
void* allocateZeroed(std::size_t bytes);

// A fixed number of elements of a type without constructors, all bits zero at first.
template <typename T>
class ZeroedArray {
 public:
  ZeroedArray() = default;
  explicit ZeroedArray(std::size_t size)
      : data_(static_cast<T*>(allocateZeroed(size * sizeof(T)))), size_(size) {
    static_assert(std::is_trivial_v<T>);
  }

  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T* begin() { return data_.get(); }
  T* end() { return data_.get() + size_; }

 private:
  std::unique_ptr<T[], FreeMemory> data_;
  std::size_t size_ = 0;
};

}  // namespace stationtext
