// The speed machinery of the two-file register: sorting the stations by name and finding the
// first station of each update name, both on integer keys that order names as their bytes do.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "name_keys.hpp"

namespace stationdiff {

struct elem;

// Sorts a register by name and then answers, for batches of names, where the first station of
// each name is. What it answers is what std::sort with compStationNames and std::lower_bound
// would; how is its own business.
class NameIndex {
 public:
  // Sorts `stations` by name: names ascend by compStationNames, and records of one name lie
  // next to each other in no fixed order. The searches then refer to `stations`, which must
  // stay as it is until release().
  void sortStations(std::vector<elem>& stations);

  // Adds a copy of `name` to the batch of names to look up.
  void add(std::string_view name);
  // True when the batch should be matched before more names are added.
  bool full() const { return batch_.size() >= kBatchNames || batchBytes_.size() >= kBatchBytes; }

  // Looks up every name of the batch and calls found(name, at) for each, in name order but for
  // ties: `at` is the index of the first station of that name, or the number of stations when
  // there is none. Then empties the batch.
  template <typename Found>
  void matchBatch(Found found) {
    sortBatch();
    for (std::size_t group = 0; group < batch_.size(); group += kLanes) {
      std::array<std::size_t, kLanes> at;
      const std::size_t lanes = findStations(group, at);
      for (std::size_t g = 0; g < lanes; ++g)
        found(nameOf(batch_[group + g]), at[g]);
    }
    batch_.clear();
    batchBytes_.clear();
  }

  // Frees the keys of the searches.
  void release();

 private:
  // Searches that advance side by side: enough for their memory reads to overlap well, few
  // enough that each one's state stays in registers and the first cache level.
  static constexpr std::size_t kLanes = 32;
  // A batch is sorted before it is searched, so that each search finds most of its path in
  // the cache. Larger batches search a little faster, but their room (8 MiB at most with these
  // bounds) adds to the peak memory.
  static constexpr std::size_t kBatchNames = 131072;
  static constexpr std::size_t kBatchBytes = std::size_t{4} << 20;

  struct Name {
    namekeys::PrefixKey key;
    std::size_t offset;  // in batchBytes_
    std::size_t length;
  };
  std::string_view nameOf(const Name& n) const {
    return std::string_view(batchBytes_).substr(n.offset, n.length);
  }
  void sortBatch();
  // Sets at[g], for each name of the group of up to kLanes names from batch_[group] on, to the
  // index of the first station of that name, or to the number of stations; returns how many
  // names the group holds.
  std::size_t findStations(std::size_t group, std::array<std::size_t, kLanes>& at) const;

  const std::vector<elem>* stations_ = nullptr;
  std::vector<namekeys::PrefixKey> keys_;  // of each station's name, in sorted order
  std::vector<Name> batch_;
  std::string batchBytes_;
};

}  // namespace stationdiff
