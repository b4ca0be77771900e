// Storage for names, in large chunks.
#include "name_arena.hpp"

#include <algorithm>
#include <cstring>

namespace stationtext {

std::string_view NameArena::keep(std::string_view name) {
  const std::size_t size = name.size();
  char* at;
  if (size > left_ && size > kLongName) {
    chunks_.emplace_back().setCapacity(size);
    at = chunks_.back().data();
  } else {
    if (size > left_) {
      chunk_ = std::min(nextCapacity(chunk_, size), kLargestChunk);
      chunks_.emplace_back().setCapacity(chunk_);
      next_ = chunks_.back().data();
      left_ = chunk_;
    }
    at = next_;
    next_ += size;
    left_ -= size;
  }
  if (size != 0) std::memcpy(at, name.data(), size);
  return std::string_view(at, size);
}

}  // namespace stationtext
