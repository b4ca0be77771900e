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

// The searches of a group of names, advancing side by side one level at a time.
struct Lanes {
  std::size_t count;                     // the names of the group
  std::array<std::size_t, kLanes> base;  // where each search's range begins
  std::array<bool, kLanes> bytesDecide;  // whether a tie of keys leaves the search to its bytes
  std::array<std::uint8_t, kLanes> standing;  // how the probed key stands to each name's
};
// How a probed key stands to a name's: above it, below it, or tied so that the bytes decide.
enum : std::uint8_t { keyAbove, keyBelow, keyTied };

// The standing of each lane's probe at `half` past its base, without branches; a tied probe's
// name is asked for, as its bytes will be compared.
template <typename Names>
void standLanes(const SortedNames& sorted, const Names& stations, const SearchName* names,
                std::size_t half, Lanes& lanes) {
  for (std::size_t g = 0; g < lanes.count; ++g) {
    const std::size_t probe = lanes.base[g] + half;
    unsigned below, equal;
    namekeys::compareKeys(sorted.keys[probe], names[g].key, below, equal);
    const unsigned tied = equal & static_cast<unsigned>(lanes.bytesDecide[g]);
    lanes.standing[g] = static_cast<std::uint8_t>(below * keyBelow + tied * keyTied);
    if (tied) prefetchBytes(stations[probe]);
  }
}

// Moves each lane past the probe at `half` when the probe sorts before its name, and asks for
// the memory of the level after, `next` further on.
template <typename Names>
void advanceLanes(const SortedNames& sorted, const Names& stations, const std::string_view* text,
                  std::size_t half, std::size_t next, Lanes& lanes) {
  for (std::size_t g = 0; g < lanes.count; ++g) {
    const std::size_t probe = lanes.base[g] + half;
    bool goes = lanes.standing[g] == keyBelow;
    if (lanes.standing[g] == keyTied) goes = namekeys::compareNames(stations[probe], text[g]) < 0;
    lanes.base[g] += goes ? half : 0;
    __builtin_prefetch(&sorted.keys[lanes.base[g] + next]);
    stations.prefetch(lanes.base[g] + next);
  }
}

// Sets at[g], for each of the `count` names of a group (`names` in key order, `text` their
// bytes), to the place of the first of `sorted` with that name, or to `notFound`. One binary
// search per name for the first name that does not sort before it: keys decide, and only a name
// whose key ties is compared by its bytes. The searches advance side by side, so that the reads
// of one overlap those of the others.
template <typename Names>
void findGroup(const SortedNames& sorted, const Names& stations, const SearchName* names,
               const std::string_view* text, std::size_t count, std::size_t* at,
               std::size_t notFound) {
  const auto& keys = sorted.keys;
  std::fill(at, at + count, notFound);
  if (keys.empty()) return;
  Lanes lanes;
  lanes.count = count;
  for (std::size_t g = 0; g < count; ++g) {
    lanes.bytesDecide[g] = names[g].key.bytesDecide();
    if (lanes.bytesDecide[g]) prefetchBytes(text[g]);
  }
  std::size_t span = keys.size();
  lanes.base.fill(sharedLevels(keys, names[0].key, names[count - 1].key, span));
  while (span > 1) {
    const std::size_t half = span / 2;
    standLanes(sorted, stations, names, half, lanes);
    advanceLanes(sorted, stations, text, half, (span - half) / 2, lanes);
    span -= half;
  }
  // Each search has narrowed its range to one name: the first not before the name sought is
  // that one or the next.
  for (std::size_t g = 0; g < count; ++g) {
    const namekeys::PrefixKey& name = names[g].key;
    const auto order = [&](std::size_t place) {
      if (keys[place] == name)
        return name.bytesDecide() ? namekeys::compareNames(stations[place], text[g]) : 0;
      return keys[place] < name ? -1 : 1;
    };
    std::size_t first = lanes.base[g];
    int found = order(first);
    if (found < 0 && ++first < keys.size()) found = order(first);
    if (found == 0) at[g] = first;
  }
}

}  // namespace stationdiff::nameindex
