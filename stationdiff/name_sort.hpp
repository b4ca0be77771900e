// Sorting names: small entries sorted on integer keys, a chunk of the names at a time, and only
// the names that still tie read again; then the search keys of the sorted names.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "big_memory.hpp"
#include "name_keys.hpp"

namespace stationdiff {
namespace namekeys = stationtext::namekeys;
}

namespace stationdiff::nameindex {

// How far ahead the loops below ask for memory: about as many misses as a core keeps in
// flight, not so many that the lines are evicted again before they are used.
constexpr std::ptrdiff_t kAheadNear = 8;
constexpr std::ptrdiff_t kAheadFar = 16;
// The first stretch of bytes that the names of a run tying on a whole chunk are compared over
// in one go; each stretch that they all share doubles the next.
constexpr std::size_t kFirstStretch = 16;

// 12 bytes: the chunk key of a name at the offset being sorted on, and the name's position.
struct SortEntry {
  std::uint32_t keyHalves[2];  // one 64-bit key, in halves to keep the entry 12 bytes
  std::uint32_t index;

  std::uint64_t key() const {
    std::uint64_t key;
    std::memcpy(&key, keyHalves, sizeof key);
    return key;
  }
  void setKey(std::uint64_t key) { std::memcpy(keyHalves, &key, sizeof key); }
};

// A SortEntry as 32-bit words, of which the last is its index.
constexpr std::size_t kEntryWords = sizeof(SortEntry) / sizeof(std::uint32_t);
constexpr std::size_t kIndexWord = offsetof(SortEntry, index) / sizeof(std::uint32_t);
static_assert(sizeof(SortEntry) % sizeof(std::uint32_t) == 0 && kIndexWord == kEntryWords - 1);

// What the search needs of sorted names: their keys.
struct SortedNames {
  stationtext::GrowingArray<namekeys::PrefixKey> keys;
};

// The end of the bytes that the names of [first, last) all share, where they all share the
// bytes before `offset` and are `offset` bytes long at least. Each name is compared with the
// first one over stretches that double in length, so that its bytes are read about twice
// however long the shared part is; at the first stretch where one differs, the end of the
// stretches they all shared is returned, which may lie before the true end.
template <typename Names>
std::size_t sharedEnd(const SortEntry* first, const SortEntry* last, const Names& names,
                      std::size_t offset) {
  const std::string_view model = names[first->index];
  for (std::size_t stretch = kFirstStretch; offset < model.size(); stretch *= 2) {
    const std::size_t end = offset + std::min(stretch, model.size() - offset);
    for (const SortEntry* it = first + 1; it != last; ++it) {
      if (last - it > kAheadNear) names.prefetch((it + kAheadNear)->index);
      const std::string_view name = names[it->index];
      if (name.size() < end ||
          std::memcmp(name.data() + offset, model.data() + offset, end - offset) != 0)
        return offset;
    }
    offset = end;
  }
  return offset;
}

// A run of entries that tie on the chunks before `offset`, to be sorted from there on.
struct Run {
  std::size_t first, last, offset;
  bool tiedBefore;  // all its keys were equal at the offset before too
};

// Sets the key of each entry of `run` to its name's chunk key at the run's offset.
template <typename Names>
void keyRun(SortEntry* first, SortEntry* last, std::size_t offset, const Names& names) {
  // The names of a run lie all over the memory: ask for them a few entries ahead.
  for (SortEntry* it = first; it != last; ++it) {
    if (last - it > 2 * kAheadNear) {
      names.prefetch((it + 2 * kAheadNear)->index);
      __builtin_prefetch(names[(it + kAheadNear)->index].data() + offset);
    }
    it->setKey(namekeys::chunkKey(names[it->index], offset));
  }
}

// Sorts `entries`, whose keys are those of the names at offset 0, by the names they point to:
// by first-chunk key, and each run of names that tie on a chunk again by the next chunk, until
// no tie is left open. A run whose keys are all equal is not sorted; when they were all equal
// at the chunk before too, its names are compared to the end of what they share (sharedEnd),
// and the run goes on from there.
template <typename Names>
void sortEntries(std::span<SortEntry> entries, const Names& names) {
  std::vector<Run> runs;
  // Entries [i, j) whose keys at `offset` all equal `key`: a run to go on with, unless their
  // names are all equal.
  const auto settle = [&](std::size_t i, std::size_t j, std::size_t offset, std::uint64_t key) {
    if (j - i >= 2 && namekeys::tieGoesOn(key))
      runs.push_back({i, j, offset + namekeys::kChunk, false});
  };
  if (entries.size() > 1) runs.push_back({0, entries.size(), 0, false});
  while (!runs.empty()) {
    const Run run = runs.back();
    runs.pop_back();
    SortEntry* const first = entries.data() + run.first;
    SortEntry* const last = entries.data() + run.last;
    if (run.offset > 0) keyRun(first, last, run.offset, names);
    const std::uint64_t key = first->key();
    if (std::all_of(first + 1, last, [&](const SortEntry& e) { return e.key() == key; })) {
      // Nothing to sort: the run goes on at the next chunk, or, when it tied on the chunk before
      // too, from the end of what its names share; or its names are all equal.
      if (!namekeys::tieGoesOn(key)) {
        settle(run.first, run.last, run.offset, key);
      } else if (!run.tiedBefore) {
        runs.push_back({run.first, run.last, run.offset + namekeys::kChunk, true});
      } else {
        runs.push_back({run.first, run.last,
                        sharedEnd(first, last, names, run.offset + namekeys::kChunk), false});
      }
      continue;
    }
    std::sort(first, last,
              [](const SortEntry& a, const SortEntry& b) { return a.key() < b.key(); });
    for (std::size_t i = run.first; i < run.last;) {
      std::size_t j = i + 1;
      while (j < run.last && entries[j].key() == entries[i].key())
        ++j;
      settle(i, j, run.offset, entries[i].key());
      i = j;
    }
  }
}

// Sorts the names that names[i] gives for i < names.size(): returns `place`, where place[i] is
// the place of names[i] in name order.
template <typename Names>
stationtext::GrowingArray<std::uint32_t> sortPlaces(const Names& names) {
  const std::size_t n = names.size();
  stationtext::GrowingArray<std::uint32_t> place;
  {
    // Sorting small entries by integer keys is much cheaper than sorting the caller's records
    // with string comparisons.
    stationtext::GrowingArray<SortEntry> entries;
    entries.setCapacity(n);
    entries.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      entries[i].setKey(namekeys::chunkKey(names[i], 0));
      entries[i].index = static_cast<std::uint32_t>(i);
    }
    sortEntries(std::span(entries.data(), n), names);
    // Only the names' order is left to keep: each entry's index, written over the front of the
    // entries, whose rest then goes back before the places take room of their own.
    stationtext::GrowingArray<std::uint32_t> order = std::move(entries).recast<std::uint32_t>();
    for (std::size_t k = 0; k < n; ++k)
      order[k] = order[k * kEntryWords + kIndexWord];
    order.resize(n);
    order.setCapacity(n);
    place.setCapacity(n);
    place.resize(n);
    for (std::size_t k = 0; k < n; ++k)
      place[order[k]] = static_cast<std::uint32_t>(k);
  }
  return place;
}

// Sets `keys` to the search keys of the names that names[i] gives, in order.
template <typename Names>
void keysInOrder(const Names& names, stationtext::GrowingArray<namekeys::PrefixKey>& keys) {
  const std::size_t n = names.size();
  keys.release();
  keys.setCapacity(n);
  keys.resize(n);
  // The records are read in order, the names they point to all over the memory: each is asked
  // for a few records ahead.
  for (std::size_t i = 0; i < n; ++i) {
    if (i + kAheadFar < n) names.prefetch(i + kAheadFar);
    if (i + kAheadNear < n) __builtin_prefetch(names[i + kAheadNear].data());
    keys[i] = namekeys::PrefixKey(names[i]);
  }
}

}  // namespace stationdiff::nameindex
