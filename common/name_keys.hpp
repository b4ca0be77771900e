// Integer keys that follow the name order, so that sorting and searching compare machine words
// and read the names themselves only on a tie.
#pragma once

#include <array>
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

// Chunks in a search key. With 64-bit words, two: most names that share their first seven
// bytes differ in the next seven. In 32-bit builds one, as memory is scarcer there (the plain
// reading's records are a third smaller) and 64-bit comparisons take two instructions each.
constexpr std::size_t kKeyChunks = sizeof(void*) >= 8 ? 2 : 1;

// The key of a name in the search: its first kKeyChunks chunk keys, those after the one that
// settles the order 0. A smaller key means a smaller name; equal keys mean equal names unless
// bytesDecide(), and then the bytes after the last chunk decide.
class PrefixKey {
 public:
  explicit PrefixKey(std::string_view name) {
    for (std::size_t i = 0; i < kKeyChunks && (i == 0 || tieGoesOn(chunks_[i - 1])); ++i)
      chunks_[i] = chunkKey(name, i * kChunk);
  }

  std::uint64_t chunk(std::size_t i) const { return chunks_[i]; }
  bool bytesDecide() const { return tieGoesOn(chunks_.back()); }

  friend bool operator<(const PrefixKey& a, const PrefixKey& b) { return a.chunks_ < b.chunks_; }
  friend bool operator==(const PrefixKey& a, const PrefixKey& b) = default;

 private:
  std::array<std::uint64_t, kKeyChunks> chunks_{};
};

// How `key` stands to `name`, without branches: below it (1 when key < name), and tied (1 when
// the two are equal).
inline void compareKeys(const PrefixKey& key, const PrefixKey& name, unsigned& below,
                        unsigned& tied) {
  unsigned equal = 1;
  below = 0;
  for (std::size_t i = 0; i < kKeyChunks; ++i) {
    below |= equal & static_cast<unsigned>(key.chunk(i) < name.chunk(i));
    equal &= static_cast<unsigned>(key.chunk(i) == name.chunk(i));
  }
  tied = equal;
}

}  // namespace stationtext::namekeys
