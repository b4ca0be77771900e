// Sorting the register by name: small entries sorted on integer keys, then the stations moved
// once into their places.
#include "name_index.hpp"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdint>

#include "key_sort.hpp"
#include "sorted_register.hpp"

namespace stationdiff {

namespace {

// How far ahead the loops below ask for memory: about as many misses as a core keeps in
// flight, not so many that the lines are evicted again before they are used.
constexpr std::ptrdiff_t kAheadNear = 8;
constexpr std::ptrdiff_t kAheadFar = 16;

struct SortEntry {
  std::uint64_t key;    // chunk key of the name at the offset being sorted on
  std::uint32_t index;  // the station's position in file order
};

// Sorts `entries` by the names of the stations they point to: by first-chunk key, and each run
// of names that tie on a chunk again by the next chunk, until no tie is left open. `second`
// holds each station's second-chunk key by file position: nearly every name ties on its first
// chunk, and one read there is cheaper than reaching the name through its station.
void sortByName(std::vector<SortEntry>& entries, const std::vector<elem>& stations,
                const std::vector<std::uint64_t>& second) {
  struct Run {
    std::size_t first, last, offset;
  };
  std::vector<Run> runs{{0, entries.size(), 0}};
  while (!runs.empty()) {
    const Run run = runs.back();
    runs.pop_back();
    const auto first = entries.begin() + static_cast<std::ptrdiff_t>(run.first);
    const auto last = entries.begin() + static_cast<std::ptrdiff_t>(run.last);
    if (run.offset == namekeys::kChunk) {
      for (auto it = first; it != last; ++it) {
        if (last - it > kAheadFar) __builtin_prefetch(&second[(it + kAheadFar)->index]);
        it->key = second[it->index];
      }
    } else if (run.offset > 0) {
      // The names of a run lie all over the heap: ask for them a few entries ahead.
      for (auto it = first; it != last; ++it) {
        if (last - it > 2 * kAheadNear) {
          namekeys::prefetchNameOf(stations[(it + 2 * kAheadNear)->index]);
          __builtin_prefetch(stations[(it + kAheadNear)->index].station.data() + run.offset);
        }
        it->key = namekeys::chunkKey(stations[it->index].station, run.offset);
      }
    }
    namekeys::sortByKeyBytes(
        first, last, [](const SortEntry& e) { return e.key; },
        [](const SortEntry& a, const SortEntry& b) { return a.key < b.key; });
    for (std::size_t i = run.first; i < run.last;) {
      std::size_t j = i + 1;
      while (j < run.last && entries[j].key == entries[i].key)
        ++j;
      if (j - i > 1 && namekeys::tieGoesOn(entries[i].key)) {
        runs.push_back({i, j, run.offset + namekeys::kChunk});
      }
      i = j;
    }
  }
}

// A larger range is first spread into up to 2^kBlockBits blocks: few enough that the next free
// place of every block stays at hand, many enough that each block soon fits in the cache.
constexpr int kBlockBits = 11;
// While spreading, how many places ahead of a block's next free one are asked for: about the
// next three cache lines of stations, and two of `dest`.
constexpr std::size_t kAheadStations = 6;
constexpr std::size_t kAheadPlaces = 32;

// Moves each station of [lo, hi) to its place dest[k], also in [lo, hi), keeping dest[k] with
// it. Following the permutation's cycles directly would wait for a cache miss at every step,
// so a large range is first spread into consecutive blocks of places, each station swapped
// into the next free position of its block; then each block follows its cycles.
void moveToPlaces(std::vector<elem>& stations, std::vector<std::uint32_t>& dest, std::size_t lo,
                  std::size_t hi) {
  if (hi - lo <= NameIndex::kCachedPlaces) {
    for (std::size_t k = lo; k < hi; ++k) {
      while (dest[k] != k) {
        const std::size_t to = dest[k];
        std::swap(stations[k], stations[to]);
        std::swap(dest[k], dest[to]);
      }
    }
    return;
  }
  const int shift = std::max(0, static_cast<int>(std::bit_width(hi - lo - 1)) - kBlockBits);
  const std::size_t blocks = ((hi - lo - 1) >> shift) + 1;
  const auto blockOf = [&](std::uint32_t place) { return (place - lo) >> shift; };
  std::vector<std::size_t> next(blocks);
  for (std::size_t b = 0; b < blocks; ++b)
    next[b] = lo + (b << shift);
  for (std::size_t b = 0; b < blocks; ++b) {
    const std::size_t end = std::min(hi, lo + ((b + 1) << shift));
    while (next[b] < end) {
      std::size_t d = blockOf(dest[next[b]]);
      if (d == b) {
        ++next[b];
        continue;
      }
      elem moving = stations[next[b]];
      std::uint32_t movingDest = dest[next[b]];
      do {
        const std::size_t at = next[d]++;
        const char* const later =
            reinterpret_cast<const char*>(&stations[std::min(at + kAheadStations, hi - 1)]);
        __builtin_prefetch(later);
        __builtin_prefetch(later + sizeof(elem) - 1);
        __builtin_prefetch(&dest[std::min(at + kAheadPlaces, hi - 1)]);
        std::swap(moving, stations[at]);
        std::swap(movingDest, dest[at]);
        d = blockOf(movingDest);
      } while (d != b);
      stations[next[b]] = moving;
      dest[next[b]++] = movingDest;
    }
  }
  for (std::size_t b = 0; b < blocks; ++b) {
    moveToPlaces(stations, dest, lo + (b << shift), std::min(hi, lo + ((b + 1) << shift)));
  }
}

}  // namespace

void NameIndex::sortStations(std::vector<elem>& stations) {
  // Sorting small entries by integer keys and then moving the stations into their places is
  // much cheaper than sorting the stations themselves with string comparisons.
  std::vector<SortEntry> entries(stations.size());
  std::vector<std::uint64_t> second(stations.size());
  for (std::size_t i = 0; i < stations.size(); ++i) {
    entries[i] = {namekeys::chunkKey(stations[i].station, 0), static_cast<std::uint32_t>(i)};
    second[i] = namekeys::chunkKey(stations[i].station, namekeys::kChunk);
  }
  sortByName(entries, stations, second);
  std::vector<std::uint64_t>().swap(second);  // `= {}` would keep the capacity
  // dest[k]: the place of the station now at k.
  std::vector<std::uint32_t> dest(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i)
    dest[entries[i].index] = static_cast<std::uint32_t>(i);
  std::vector<SortEntry>().swap(entries);
  moveToPlaces(stations, dest, 0, stations.size());
  std::vector<std::uint32_t>().swap(dest);
  assert(std::is_sorted(stations.begin(), stations.end(), compStationNames));

  stations_ = &stations;
  keys_.clear();
  keys_.reserve(stations.size());
  for (std::size_t i = 0; i < stations.size(); ++i) {
    if (i + kAheadFar < stations.size()) __builtin_prefetch(stations[i + kAheadFar].station.data());
    keys_.push_back(namekeys::prefixKey(stations[i].station));
  }
}

void NameIndex::release() {
  std::vector<namekeys::PrefixKey>().swap(keys_);
}

}  // namespace stationdiff
