// Storage for names, in large chunks.
#include "name_arena.hpp"

#include <algorithm>
#include <cstring>

namespace stationtext {

std::string_view NameArena::keep(std::string_view name) {
  const std::size_t size = name.size();
  char* block;
  if (size > left_ && size > kLongName) {
    chunks_.push_back(allocateBytes(size));
    block = chunks_.back().get();
  } else {
    if (size > left_) {
      chunks_.push_back(allocateBytes(nextChunk_));
      next_ = chunks_.back().get();
      left_ = nextChunk_;
      nextChunk_ = std::min(2 * nextChunk_, kLargestChunk);
    }
    block = next_;
    next_ += size;
    left_ -= size;
  }
  if (size != 0) std::memcpy(block, name.data(), size);
  return std::string_view(block, size);
}

std::string_view NameArena::adopt(ByteBlock block, std::string_view name) {
  chunks_.push_back(std::move(block));
  return name;
}

}  // namespace stationtext
