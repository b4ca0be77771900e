// Storage for the register's station names: one arena per register instead of one heap block
// per name, which saves the allocator's per-block overhead on millions of short names and
// frees them all at once.
#pragma once

#include <cassert>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// Hands out bytes from large chunks; nothing is freed before the arena itself.
class NameArena {
 public:
  NameArena() = default;
  NameArena(const NameArena&) = delete;
  NameArena& operator=(const NameArena&) = delete;

  char* allocate(std::size_t size);

  // The arena that NameAllocator draws from while a register is alive; see ArenaScope.
  static NameArena* current;

 private:
  static constexpr std::size_t kChunk = std::size_t{1} << 20;
  std::vector<std::unique_ptr<char[]>> chunks_;
  char* next_ = nullptr;
  std::size_t left_ = 0;
};

// Makes `arena` the current one for as long as the scope lives, restoring the previous one.
class ArenaScope {
 public:
  explicit ArenaScope(NameArena& arena) : previous_(NameArena::current) {
    NameArena::current = &arena;
  }
  ~ArenaScope() { NameArena::current = previous_; }
  ArenaScope(const ArenaScope&) = delete;
  ArenaScope& operator=(const ArenaScope&) = delete;

 private:
  NameArena* previous_;
};

// A stateless allocator over the current arena, so that a name string stays as small as a
// standard one. Deallocation is a no-op: the arena frees everything when it goes.
template <typename T>
struct NameAllocator {
  using value_type = T;
  NameAllocator() = default;
  template <typename U>
  NameAllocator(const NameAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    assert(NameArena::current != nullptr && "station names are made inside an ArenaScope");
    return reinterpret_cast<T*>(NameArena::current->allocate(n * sizeof(T)));
  }
  void deallocate(T*, std::size_t) noexcept {}
  friend bool operator==(const NameAllocator&, const NameAllocator&) { return true; }
};

using StationName = std::basic_string<char, std::char_traits<char>, NameAllocator<char>>;
