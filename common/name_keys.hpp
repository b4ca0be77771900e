// Integer keys that follow the name order, so that sorting and searching compare machine words
// and read the names themselves only on a tie.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "text_format.hpp"

namespace stationtext::namekeys {

// The name order of the formats. Every key below orders names so, and every comparison of
// names in the index is this one.
using ::stationtext::compareNames;

// Bytes of a name that one key holds: seven, and a byte for their count, fill a 64-bit word.
constexpr std::size_t kChunk = 7;

// The key of `name` at `offset`: the next kChunk bytes, zero-padded, in the top bytes of the
// word, most significant first, and in the lowest byte how many bytes are left from `offset`
// on, capped at kChunk. For two names that agree before `offset`, the smaller key belongs to
// the smaller name; equal keys mean equal names unless their count is kChunk (kChunk or more
// bytes left), and then the bytes after offset + kChunk decide.
inline std::uint64_t chunkKey(std::string_view name, std::size_t offset) {
  const std::size_t left = offset < name.size() ? name.size() - offset : 0;
  if (left > kChunk) {
    // The common case: one load of eight bytes, the eighth dropped for the count.
    std::uint64_t word;
    std::memcpy(&word, name.data() + offset, sizeof word);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    return (word & ~std::uint64_t{0xff}) | kChunk;
  }
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < left; ++i) {
    key |= std::uint64_t{static_cast<unsigned char>(name[offset + i])} << (56 - 8 * i);
  }
  return key | left;
}

// True when a chunk key leaves the order to the next chunk.
constexpr bool tieGoesOn(std::uint64_t key) {
  return (key & 0xff) == kChunk;
}

// The key of a name in the search: its first two chunk keys, the second 0 when the first settles
// the order. A smaller key means a smaller name; equal keys mean equal names unless bytesDecide(),
// and then the bytes after the second chunk decide.
class PrefixKey {
 public:
  PrefixKey() = default;
  explicit PrefixKey(std::string_view name)
      : first_(chunkKey(name, 0)), second_(tieGoesOn(first_) ? chunkKey(name, kChunk) : 0) {}

  std::uint64_t first() const { return first_; }
  std::uint64_t second() const { return second_; }
  bool bytesDecide() const { return tieGoesOn(second_); }

  friend bool operator<(const PrefixKey& a, const PrefixKey& b) {
    return a.first_ < b.first_ || (a.first_ == b.first_ && a.second_ < b.second_);
  }
  friend bool operator==(const PrefixKey& a, const PrefixKey& b) = default;

 private:
  std::uint64_t first_ = 0;
  std::uint64_t second_ = 0;
};

}  // namespace stationtext::namekeys
