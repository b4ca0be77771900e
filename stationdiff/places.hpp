// Moving the items of an array to the places a permutation gives them, in about the time a
// copy of the array would take, without a second array of items.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace stationdiff {

namespace places {

// Places moved into directly when this few: a range of them fits in the cache.
constexpr std::size_t kCached = 1024;
// A larger range is first spread into up to 2^kBlockBits blocks: few enough that the next free
// place of every block stays at hand, many enough that each block soon fits in the cache.
constexpr int kBlockBits = 11;
// While spreading, how many places ahead of a block's next free one are asked for: about the
// next three cache lines of items of a few dozen bytes, and two of the places.
constexpr std::size_t kAheadItems = 6;
constexpr std::size_t kAheadPlaces = 32;

template <typename T>
void prefetchItem(const T& item) {
  const char* const p = reinterpret_cast<const char*>(&item);
  __builtin_prefetch(p);
  __builtin_prefetch(p + sizeof item - 1);  // an item may straddle two cache lines
}

// moveToPlaces() for the items of a whole array's places lo, lo + 1, ... that `items` views.
// Following the permutation's cycles directly would wait for a cache miss at every step, so a
// large range is first spread into consecutive blocks of places, each item swapped into the
// next free position of its block; then each block follows its cycles.
template <typename T>
void moveRange(std::span<T> items, std::span<std::uint32_t> place, std::size_t lo) {
  if (items.size() <= places::kCached) {
    for (std::size_t k = 0; k < items.size(); ++k) {
      while (place[k] != lo + k) {
        const std::size_t to = place[k] - lo;
        std::swap(items[k], items[to]);
        std::swap(place[k], place[to]);
      }
    }
    return;
  }
  // Positions below are relative to lo; the places in `place` are absolute.
  const int shift =
      std::max(0, static_cast<int>(std::bit_width(items.size() - 1)) - places::kBlockBits);
  const std::size_t blocks = ((items.size() - 1) >> shift) + 1;
  const auto blockOf = [&](std::uint32_t at) { return (at - lo) >> shift; };
  const auto blockEnd = [&](std::size_t b) { return std::min(items.size(), (b + 1) << shift); };
  std::vector<std::size_t> next(blocks);
  for (std::size_t b = 0; b < blocks; ++b)
    next[b] = b << shift;
  const std::size_t last = items.size() - 1;
  for (std::size_t b = 0; b < blocks; ++b) {
    while (next[b] < blockEnd(b)) {
      std::size_t d = blockOf(place[next[b]]);
      if (d == b) {
        ++next[b];
        continue;
      }
      T moving = std::move(items[next[b]]);
      std::uint32_t movingPlace = place[next[b]];
      do {
        const std::size_t at = next[d]++;
        places::prefetchItem(items[std::min(at + places::kAheadItems, last)]);
        __builtin_prefetch(&place[std::min(at + places::kAheadPlaces, last)]);
        std::swap(moving, items[at]);
        std::swap(movingPlace, place[at]);
        d = blockOf(movingPlace);
      } while (d != b);
      items[next[b]] = std::move(moving);
      place[next[b]++] = movingPlace;
    }
  }
  for (std::size_t b = 0; b < blocks; ++b) {
    const std::size_t from = b << shift;
    moveRange(items.subspan(from, blockEnd(b) - from), place.subspan(from, blockEnd(b) - from),
              lo + from);
  }
}

}  // namespace places

// Moves items[k] to items[place[k]] for each k, where `place` is a permutation of the positions
// of `items`; `place` is used up (it ends as 0, 1, 2, ...).
template <typename T>
void moveToPlaces(std::span<T> items, std::span<std::uint32_t> place) {
  places::moveRange(items, place, 0);
}

}  // namespace stationdiff
