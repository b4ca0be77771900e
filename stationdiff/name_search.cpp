// Finding the first station of each update name: batches sorted by key, and binary searches
// that advance side by side.
#include <algorithm>
#include <cassert>
#include <cstdint>

#include "key_sort.hpp"
#include "name_index.hpp"
#include "sorted_register.hpp"

namespace stationdiff {

void NameIndex::sortBatch(const stationtext::NameBatch<>& names) {
  // The names are searched in the order of their keys, which is name order but for ties: then
  // each search reads mostly what the one before it has just brought into the cache, instead
  // of its own path through the whole register.
  batch_.clear();
  for (std::size_t i = 0; i < names.size(); ++i)
    batch_.push_back({namekeys::prefixKey(names.name(i)), static_cast<std::uint32_t>(i)});
  const auto byKey = [](const Name& a, const Name& b) { return a.key < b.key; };
  namekeys::sortByKeyBytes(
      batch_.begin(), batch_.end(), [](const Name& n) { return n.key.first; }, byKey);
  // The shared levels of the search rely on this order.
  assert(std::is_sorted(batch_.begin(), batch_.end(), byKey));
}

namespace {

// How much of a tied name to ask for before comparing it: the bytes a comparison usually reads.
constexpr std::size_t kComparedBytes = 32;

void prefetchBytes(std::string_view text) {
  __builtin_prefetch(text.data());
  __builtin_prefetch(text.data() + std::min(kComparedBytes - 1, text.size()));
}

}  // namespace

std::size_t NameIndex::findStations(std::size_t group, std::array<std::size_t, kLanes>& at) const {
  // One binary search per name for the first station whose name does not sort before it: keys
  // decide, and only a station whose key ties with the name's is compared by its bytes. The
  // searches of a group advance side by side, one level at a time, and ask for the memory of
  // their next level ahead, so that the reads of one search overlap those of the others.
  const std::vector<elem>& stations = *stations_;
  const Name* const names = &batch_[group];
  const std::size_t lanes = std::min(kLanes, batch_.size() - group);
  if (stations.empty()) {
    std::fill(at.begin(), at.begin() + static_cast<std::ptrdiff_t>(lanes), 0);
    return lanes;
  }
  // A name tying with a station is compared from its bytes: ask for those of the group now.
  std::array<std::string_view, kLanes> text;
  for (std::size_t g = 0; g < lanes; ++g) {
    text[g] = nameOf(names[g]);
    if (namekeys::tieGoesOn(names[g].key)) prefetchBytes(text[g]);
  }
  // The names of a group come in the order of their keys. While the station at a level has a
  // key below the first name's or above the last name's, every name of the group takes the
  // same turn there, and the level needs no comparison of its own for each of them.
  std::size_t span = stations.size();
  std::size_t shared = 0;
  while (span > 1) {
    const std::size_t half = span / 2;
    const namekeys::PrefixKey& probe = keys_[shared + half];
    if (probe < names[0].key) {
      shared += half;
    } else if (!(names[lanes - 1].key < probe)) {
      break;
    }
    span -= half;
  }
  std::array<std::size_t, kLanes> base;
  base.fill(shared);
  // How the probed station's key stands to each name's: below it, or tied so that the bytes
  // must decide (then the station's name is asked for), or neither.
  enum : std::uint8_t { keyAbove, keyBelow, bytesDecide };
  std::array<std::uint8_t, kLanes> standing{};
  while (span > 1) {
    const std::size_t half = span / 2;
    for (std::size_t g = 0; g < lanes; ++g) {
      const std::size_t probe = base[g] + half;
      const namekeys::PrefixKey& key = keys_[probe];
      const namekeys::PrefixKey& name = names[g].key;
      const bool firstEqual = key.first == name.first;
      const bool below = (key.first < name.first) | (firstEqual & (key.second < name.second));
      const bool tied = firstEqual & (key.second == name.second) & namekeys::tieGoesOn(name);
      standing[g] = below ? keyBelow : tied ? bytesDecide : keyAbove;
      if (tied) prefetchBytes(stations[probe].station);
    }
    const std::size_t next = (span - half) / 2;
    for (std::size_t g = 0; g < lanes; ++g) {
      const bool goes = standing[g] == keyBelow ||
                        (standing[g] == bytesDecide && stations[base[g] + half].station < text[g]);
      base[g] += goes ? half : 0;
      __builtin_prefetch(&keys_[base[g] + next]);
      namekeys::prefetchNameOf(stations[base[g] + next]);
    }
    span -= half;
  }
  // Each search has narrowed its range to one station: the first not before the name is that
  // one or the next.
  for (std::size_t g = 0; g < lanes; ++g) {
    const Name& name = names[g];
    const bool tieGoesOn = namekeys::tieGoesOn(name.key);
    std::size_t first = base[g];
    if (keys_[first] < name.key ||
        (keys_[first] == name.key && tieGoesOn && stations[first].station < text[g]))
      ++first;
    const bool match = first < keys_.size() && keys_[first] == name.key &&
                       (!tieGoesOn || stations[first].station == text[g]);
    at[g] = match ? first : stations.size();
  }
  return lanes;
}

}  // namespace stationdiff
