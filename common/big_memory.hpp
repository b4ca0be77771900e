// Memory for arrays of many megabytes: one growth rule for everything that grows, arrays that
// grow by being remapped instead of copied, and huge pages for those read in random order.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace stationtext {

// The one growth rule of every growing thing (arrays, the reader's buffer, the name arena, the
// name table's index): the next capacity of one that holds `current` and must hold `needed`. At
// least doubling keeps the cost of growing linear in the end size; what is made room for but
// never written costs address space, not memory, since untouched pages stay unbacked.
constexpr std::size_t nextCapacity(std::size_t current, std::size_t needed) {
  return std::max(needed, current <= SIZE_MAX / 2 ? 2 * current : SIZE_MAX);
}

// Asks the system to back the pages of [p, p + bytes) with huge pages, where it can (Linux with
// transparent huge pages); does nothing elsewhere. Memory stays where it was allocated, so that
// the sanitizers see it as any other.
void adviseHugePages(void* p, std::size_t bytes);

// realloc(block, bytes), with the huge-page advice when `bytes` are enough: a large block's pages
// are remapped, not copied. Throws std::bad_alloc when the system refuses; `block` is then as it
// was. A view into the block does not survive: the block may move, even when it shrinks.
void* resizeBlock(void* block, std::size_t bytes);
// `bytes` zeroed bytes, with the huge-page advice when there are enough of them. Fresh memory
// comes zeroed from the system, so it is not written twice. Throws std::bad_alloc.
void* zeroedBlock(std::size_t bytes);

struct FreeMemory {
  void operator()(void* p) const { std::free(p); }
};

// A growing array of a type that copies as bytes, for millions of elements or bytes: it grows
// by nextCapacity() with realloc(), which remaps a large block's pages instead of copying them,
// so that growing costs no copy and never holds the elements twice. New elements are not
// initialised, unless the array was made zeroed(). Pointers into it do not survive a call that
// changes its capacity.
template <typename T>
class GrowingArray {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  GrowingArray() = default;
  // `count` elements, all bits zero.
  static GrowingArray zeroed(std::size_t count) {
    if (count > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    GrowingArray array;
    array.data_.reset(static_cast<T*>(zeroedBlock(count * sizeof(T))));
    array.size_ = array.capacity_ = count;
    return array;
  }

  T* begin() { return data_.get(); }
  T* end() { return data_.get() + size_; }
  const T* begin() const { return data_.get(); }
  const T* end() const { return data_.get() + size_; }
  T* data() { return data_.get(); }
  const T* data() const { return data_.get(); }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  T& back() { return data_[size_ - 1]; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::size_t capacity() const { return capacity_; }

  // Makes the capacity exactly `count`, which is not below the size.
  void setCapacity(std::size_t count) {
    if (count > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    T* const moved = static_cast<T*>(resizeBlock(data_.get(), count * sizeof(T)));
    static_cast<void>(data_.release());  // resizeBlock() has taken it over
    data_.reset(moved);
    capacity_ = count;
  }
  // Makes room for `count` elements in all, by the growth rule.
  void reserve(std::size_t count) {
    if (count > capacity_) setCapacity(nextCapacity(capacity_, std::max(count, kFirst)));
  }
  // Makes the array `count` long; elements added are not initialised.
  void resize(std::size_t count) {
    reserve(count);
    size_ = count;
  }
  void push_back(const T& value) {
    if (size_ == capacity_) reserve(size_ + 1);
    data_[size_++] = value;
  }
  void pop_back() { --size_; }
  void clear() { size_ = 0; }
  // The array's block as elements of another type that copies as bytes, as many as its elements'
  // bytes hold; this array is left empty. For reusing the memory of elements that are done.
  template <typename U>
  GrowingArray<U> recast() && {
    static_assert(std::is_trivially_copyable_v<U> && alignof(U) <= alignof(T));
    GrowingArray<U> other;
    other.size_ = size_ * sizeof(T) / sizeof(U);
    other.capacity_ = capacity_ * sizeof(T) / sizeof(U);
    other.data_.reset(reinterpret_cast<U*>(data_.release()));
    size_ = capacity_ = 0;
    return other;
  }
  // Gives the memory back to the system.
  void release() {
    data_.reset();
    size_ = capacity_ = 0;
  }

 private:
  template <typename>
  friend class GrowingArray;

  // Elements made room for at first: a page or so, which small inputs never outgrow.
  static constexpr std::size_t kFirst = 4096 / sizeof(T) + 1;

  std::unique_ptr<T[], FreeMemory> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// Bytes of a block, such as the reader's buffer or a name kept whole.
using ByteBlock = GrowingArray<char>;

}  // namespace stationtext
