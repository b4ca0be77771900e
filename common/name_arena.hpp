// Storage for names: copies kept back to back in large chunks instead of one heap block per
// name, which saves the allocator's overhead on millions of short names and frees them all at
// once.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "big_memory.hpp"

namespace stationtext {

// Keeps copies of names for as long as it lives; nothing is freed before the arena itself, and
// nothing kept ever moves.
class NameArena {
 public:
  NameArena() = default;
  NameArena(const NameArena&) = delete;
  NameArena& operator=(const NameArena&) = delete;

  // A copy of `name`, valid as long as the arena.
  std::string_view keep(std::string_view name);

 private:
  // Chunks start small, for small inputs, and grow by the growth rule up to kLargestChunk:
  // large enough that the allocator is asked rarely and that most of a chunk lies in huge pages.
  static constexpr std::size_t kFirstChunk = std::size_t{1} << 16;
  static constexpr std::size_t kLargestChunk = std::size_t{32} << 20;
  // A name longer than this gets a chunk of its own, so that a chunk's rest is not wasted.
  static constexpr std::size_t kLongName = kFirstChunk / 8;

  std::vector<ByteBlock> chunks_;
  std::size_t chunk_ = kFirstChunk / 2;  // the size of the last chunk of names
  char* next_ = nullptr;
  std::size_t left_ = 0;
};

}  // namespace stationtext
