// Storage for names: copies kept back to back in large chunks instead of one heap block per
// name, which saves the allocator's overhead on millions of short names and frees them all at
// once.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace stationtext {

// Keeps copies of names for as long as it lives; nothing is freed before the arena itself.
class NameArena {
 public:
  NameArena() = default;
  NameArena(const NameArena&) = delete;
  NameArena& operator=(const NameArena&) = delete;

  // A copy of `name`, valid as long as the arena.
  std::string_view keep(std::string_view name);

 private:
  // Large enough that the allocator is asked rarely, small enough to waste little at the end.
  static constexpr std::size_t kChunk = std::size_t{1} << 20;
  // A name longer than this gets a block of its own, so that a chunk's rest is not wasted.
  static constexpr std::size_t kLongName = kChunk / 8;

  std::vector<std::unique_ptr<char[]>> chunks_;
  char* next_ = nullptr;
  std::size_t left_ = 0;
};

}  // namespace stationtext
