// Arrays of many megabytes that are read in random order: the system is asked to back them
// with huge pages, which cuts the page faults of filling them and the address-translation
// misses of reading them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

namespace stationtext {

// Asks the system to back the pages of [p, p + bytes) with huge pages, where it can (Linux with
// transparent huge pages); does nothing elsewhere. Memory stays where it was allocated, so
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
// realloc(block, bytes), with the huge-page advice when `bytes` are enough. Throws std::bad_alloc
// when the system refuses, and `block` is then as it was.
void* growBlock(void* block, std::size_t bytes);

// A growing array of a type that copies as bytes, for millions of elements: it doubles with
// realloc(), which remaps a large block's pages instead of copying them, so that growing costs
// no copy and never holds the elements twice. With the huge-page advice once it is large.
template <typename T>
class GrowingArray {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  T* begin() { return data_.get(); }
  T* end() { return data_.get() + size_; }
  const T* begin() const { return data_.get(); }
  const T* end() const { return data_.get() + size_; }
  T* data() { return data_.get(); }
  const T* data() const { return data_.get(); }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::size_t capacity() const { return capacity_; }

  // Makes room for `count` elements in all.
  void reserve(std::size_t count) {
    if (count <= capacity_) return;
    if (count > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    void* const grown = growBlock(data_.get(), count * sizeof(T));
    static_cast<void>(data_.release());  // growBlock() has taken it over
    data_.reset(static_cast<T*>(grown));
    capacity_ = count;
  }
  void push_back(const T& value) {
    if (size_ == capacity_) reserve(std::max<std::size_t>(kFirst, 2 * capacity_));
    data_[size_++] = value;
  }

 private:
  // Elements made room for at first: a page or so.
  static constexpr std::size_t kFirst = 4096 / sizeof(T) + 1;

  std::unique_ptr<T[], FreeMemory> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

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
