// Storage for names, in large chunks.
#include "name_arena.hpp"

#include <cstring>

namespace stationtext {

std::string_view NameArena::keep(std::string_view name) {
  const std::size_t size = name.size();
  char* block;
  if (size > left_ && size > kLongName) {
    chunks_.push_back(std::make_unique_for_overwrite<char[]>(size));
    block = chunks_.back().get();
  } else {
    if (size > left_) {
      chunks_.push_back(std::make_unique_for_overwrite<char[]>(kChunk));
      next_ = chunks_.back().get();
      left_ = kChunk;
    }
    block = next_;
    next_ += size;
    left_ -= size;
  }
  if (size != 0) std::memcpy(block, name.data(), size);
  return std::string_view(block, size);
}

}  // namespace stationtext
