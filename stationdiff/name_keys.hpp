// Integer keys that order station names as byte-wise comparison does, so that sorting and
// searching compare machine words and read the names themselves only on a tie.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace stationdiff::namekeys {

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
  const std::size_t take = left < kChunk ? left : kChunk;
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < take; ++i) {
    key |= std::uint64_t{static_cast<unsigned char>(name[offset + i])} << (56 - 8 * i);
  }
  return key | take;
}

// True when a key leaves the order to the next chunk.
constexpr bool tieGoesOn(std::uint64_t key) {
  return (key & 0xff) == kChunk;
}

// The keys of a name's first two chunks; the second is 0 when the first settles the order.
// Ordering prefix keys orders the names, except that equal keys for which tieGoesOn() holds
// leave the order to the bytes after the second chunk.
struct PrefixKey {
  std::uint64_t first = 0;
  std::uint64_t second = 0;
  friend auto operator<=>(const PrefixKey&, const PrefixKey&) = default;
};

inline PrefixKey prefixKey(std::string_view name) {
  const std::uint64_t first = chunkKey(name, 0);
  return {first, tieGoesOn(first) ? chunkKey(name, kChunk) : 0};
}

constexpr bool tieGoesOn(const PrefixKey& key) {
  return tieGoesOn(key.second);
}

// Asks for the part of a station record that reading its name needs: its `station` member,
// which straddles two cache lines in some records.
template <typename Record>
void prefetchNameOf(const Record& record) {
  const char* const p = reinterpret_cast<const char*>(&record.station);
  __builtin_prefetch(p);
  __builtin_prefetch(p + sizeof record.station - 1);
}

}  // namespace stationdiff::namekeys
