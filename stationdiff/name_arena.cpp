// Storage for the register's station names.
#include "name_arena.hpp"

NameArena* NameArena::current = nullptr;

char* NameArena::allocate(std::size_t size) {
  if (size > left_) {
    if (size > kChunk / 8) {
      // A long name gets a chunk of its own, so that the current chunk's rest is not wasted.
      chunks_.push_back(std::make_unique_for_overwrite<char[]>(size));
      return chunks_.back().get();
    }
    chunks_.push_back(std::make_unique_for_overwrite<char[]>(kChunk));
    next_ = chunks_.back().get();
    left_ = kChunk;
  }
  char* const block = next_;
  next_ += size;
  left_ -= size;
  return block;
}
