// Finding names among sorted names: batches sorted by key, and binary searches that advance
// side by side.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "name_batch.hpp"
#include "name_keys.hpp"
#include "name_sort.hpp"

namespace stationdiff::nameindex {

// Searches that advance side by side, so that their cache misses overlap.
constexpr std::size_t kLanes = 32;
static_assert(kLanes > 0);
// How much of a tied name to ask for before comparing it: the bytes a comparison usually reads.
constexpr std::size_t kComparedBytes = 32;

// A name to look for: its key and its number in the batch.
struct SearchName {
  namekeys::PrefixKey key;
  std::uint32_t index;
};

// Sets `order` to the names of `batch` in the order of their keys, which is name order but for
// ties: then each search reads mostly what the one before it has just brought into the cache,
// instead of its own path through all the names.
void sortBatch(const stationtext::NameBatch<>& batch, std::vector<SearchName>& order);

// The levels of the binary search over `keys` that the names of a group, from `low` to `high`
// in key order, all take alike: returns where the range that is left begins, and sets `span`,
// which starts as keys.size(), to its length.
std::size_t sharedLevels(const stationtext::GrowingArray<namekeys::PrefixKey>& keys,
                         const namekeys::PrefixKey& low, const namekeys::PrefixKey& high,
                         std::size_t& span);

inline void prefetchBytes(std::string_view text) {
  __builtin_prefetch(text.data());
  __builtin_prefetch(text.data() + std::min(kComparedBytes - 1, text.size()));
}

// Sets at[g], for each of the `lanes` names of a group (`names` in key order, `text` their
// bytes), to the place of the first of `sorted` with that name, or to `notFound`.
template <typename Names>
void findGroup(const SortedNames& sorted, const Names& stations, const SearchName* names,
               const std::string_view* text, std::size_t lanes, std::size_t* at,
               std::size_t notFound) {
  // One binary search per name for the first name that does not sort before it: keys decide,
  // and only a name whose key ties is compared by its bytes. The searches of a group advance
  // side by side, one level at a time, and ask for the memory of their next level ahead, so
  // that the reads of one search overlap those of the others.
  const auto& keys = sorted.keys;
  std::fill(at, at + lanes, notFound);
  if (keys.empty()) return;
  // Whether a tie of keys leaves a name's search to its bytes: until its answer is known.
  std::array<bool, kLanes> bytesDecide;
  for (std::size_t g = 0; g < lanes; ++g) {
    bytesDecide[g] = names[g].key.bytesDecide();
    if (bytesDecide[g]) prefetchBytes(text[g]);
  }
  std::size_t span = keys.size();
  std::array<std::size_t, kLanes> base;
  base.fill(sharedLevels(keys, names[0].key, names[lanes - 1].key, span));
  // How the probed key stands to each name's: below it, or tied so that the bytes must decide
  // (then the probed name is asked for), or neither.
  enum : std::uint8_t { keyAbove, keyBelow, keyTied };
  std::array<std::uint8_t, kLanes> standing;
  while (span > 1) {
    const std::size_t half = span / 2;
    for (std::size_t g = 0; g < lanes; ++g) {
      const std::size_t probe = base[g] + half;
      const namekeys::PrefixKey& key = keys[probe];
      const namekeys::PrefixKey& name = names[g].key;
      // As key < name and key == name, without branches.
      const unsigned firstEqual = key.first() == name.first();
      const unsigned below = static_cast<unsigned>(key.first() < name.first()) |
                             (firstEqual & static_cast<unsigned>(key.second() < name.second()));
      const unsigned tied = firstEqual & static_cast<unsigned>(key.second() == name.second()) &
                            static_cast<unsigned>(bytesDecide[g]);
      standing[g] = static_cast<std::uint8_t>(below * keyBelow + tied * keyTied);
      if (tied) prefetchBytes(stations[probe]);
    }
    const std::size_t next = (span - half) / 2;
    for (std::size_t g = 0; g < lanes; ++g) {
      const std::size_t probe = base[g] + half;
      bool goes = standing[g] == keyBelow;
      if (standing[g] == keyTied) {
        const int order = namekeys::compareNames(stations[probe], text[g]);
        goes = order < 0;
        // Rather than compare a long name again at each level, take its first place; the
        // search goes on without comparing bytes, and the answer stays.
        if (order == 0 && text[g].size() >= kLongName) {
          at[g] = sorted.firstOfName(probe);
          bytesDecide[g] = false;
        }
      }
      base[g] += goes ? half : 0;
      __builtin_prefetch(&keys[base[g] + next]);
      stations.prefetch(base[g] + next);
    }
    span -= half;
  }
  // Each search has narrowed its range to one name: the first not before the name sought is
  // that one or the next.
  for (std::size_t g = 0; g < lanes; ++g) {
    if (at[g] != notFound) continue;
    const namekeys::PrefixKey& name = names[g].key;
    const auto order = [&](std::size_t place) {
      if (keys[place] == name)
        return name.bytesDecide() ? namekeys::compareNames(stations[place], text[g]) : 0;
      return keys[place] < name ? -1 : 1;
    };
    std::size_t first = base[g];
    int found = order(first);
    if (found < 0 && ++first < keys.size()) found = order(first);
    if (found == 0) at[g] = first;
  }
}

}  // namespace stationdiff::nameindex
