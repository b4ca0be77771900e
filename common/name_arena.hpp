// Storage for names: copies kept back to back in large chunks instead of one heap block per
// name, which saves the allocator's overhead on millions of short names and frees them all at
// once.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "big_vector.hpp"

namespace stationtext {

// Keeps copies of names for as long as it lives; nothing is freed before the arena itself.
class NameArena {
 public:
  NameArena() = default;
  NameArena(const NameArena&) = delete;
  NameArena& operator=(const NameArena&) = delete;

  // A copy of `name`, valid as long as the arena.
  std::string_view keep(std::string_view name);
  // Keeps `name`, which lies in `block` as the block is now (not a view taken before the block
  // was resized, which may have moved it), by keeping the block itself: a long name is held
  // once, not copied. Returns `name`, now valid as long as the arena.
  std::string_view adopt(ByteBlock block, std::string_view name);

 private:
  // Chunks start small, for small inputs, and double up to kLargestChunk: large enough that
  // the allocator is asked rarely and that most of a chunk lies in huge pages.
  static constexpr std::size_t kFirstChunk = std::size_t{1} << 20;
  static constexpr std::size_t kLargestChunk = std::size_t{32} << 20;
  // A name longer than this gets a block of its own, so that a chunk's rest is not wasted.
  static constexpr std::size_t kLongName = kFirstChunk / 8;

  std::vector<ByteBlock> chunks_;
  std::size_t nextChunk_ = kFirstChunk;
  char* next_ = nullptr;
  std::size_t left_ = 0;
};

}  // namespace stationtext
