// The speed machinery of the two-file register: sorting the stations by name and finding the
// first station of each update name, both on integer keys that order names as their bytes do.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "name_batch.hpp"
#include "name_keys.hpp"

namespace stationdiff {

struct elem;

// Sorts a register by name and then finds, for each update name, the first station of that
// name. What it answers is what std::sort with compStationNames and std::lower_bound would;
// how is its own business.
class NameIndex {
 public:
  // Update names searched together: sorting a batch lets each search find most of its path in
  // the cache from the one before; a larger batch only adds to the peak memory.
  static constexpr std::size_t kBatchNames = 131072;
  static constexpr std::size_t kBatchBytes = std::size_t{4} << 20;
  // Searches that advance side by side, so that their cache misses overlap.
  static constexpr std::size_t kLanes = 32;
  // Sorted stations are moved into their places directly when this few: they fit in the cache.
  static constexpr std::size_t kCachedPlaces = 1024;

  // Sorts `stations` by name: names ascend by compStationNames, and records of one name lie
  // next to each other in no fixed order. The searches then refer to `stations`, which must
  // stay as it is until release().
  void sortStations(std::vector<elem>& stations);

  // Looks up each name that next(name) gives (it returns false when there is none left): calls
  // seen(at) when stations[at] is the first station of that name, and fresh(name) when no
  // station has it, once for each time the name was given, in no particular order. A view
  // handed to fresh() is valid during the call only.
  template <typename Next, typename Seen, typename Fresh>
  void match(Next next, Seen seen, Fresh fresh) {
    stationtext::NameBatch<> names(kBatchNames, kBatchBytes);
    names_ = &names;
    while (names.refill(next)) {
      sortBatch(names);
      for (std::size_t group = 0; group < batch_.size(); group += kLanes) {
        std::array<std::size_t, kLanes> at;
        const std::size_t lanes = findStations(group, at);
        for (std::size_t g = 0; g < lanes; ++g) {
          if (at[g] < keys_.size()) {  // one key per station
            seen(at[g]);
          } else {
            fresh(nameOf(batch_[group + g]));
          }
        }
      }
    }
  }

  // Frees the keys of the searches.
  void release();

 private:
  struct Name {
    namekeys::PrefixKey key;
    std::uint32_t index;  // in the batch
  };
  std::string_view nameOf(const Name& n) const { return names_->name(n.index); }
  // Sets batch_ to the names of `names` in the order of their keys.
  void sortBatch(const stationtext::NameBatch<>& names);
  // Sets at[g], for each name of the group of up to kLanes names from batch_[group] on, to the
  // index of the first station of that name, or to the number of stations; returns how many
  // names the group holds.
  std::size_t findStations(std::size_t group, std::array<std::size_t, kLanes>& at) const;

  const std::vector<elem>* stations_ = nullptr;
  std::vector<namekeys::PrefixKey> keys_;            // of each station's name, in sorted order
  const stationtext::NameBatch<>* names_ = nullptr;  // the batch being matched
  std::vector<Name> batch_;                          // its names in the order of their keys
};

}  // namespace stationdiff
