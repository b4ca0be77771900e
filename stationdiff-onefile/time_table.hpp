// The single-file register: stations hashed by name, matched against the update lines that
// follow them in the same file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory_resource>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "line_reader.hpp"
#include "report_writer.hpp"

namespace onefile {

// The register at the start of one file in a table keyed by name, with the stations that the
// rest of the file names marked as seen, and the names it holds that the register lacks.
class TimeTable {
 public:
  // Loads the register at the start of `filename` and matches the update lines after it.
  // Reports a file that cannot be opened, and a read error.
  stationtext::ReadOutcome load(const char* filename);

  // Writes one unused station per code, codes ascending.
  void printNotUsed(stationtext::ReportWriter& out);
  // Writes the number of new names, then the names in name order.
  void printNewStations(stationtext::ReportWriter& out);

 private:
  // Station lines or update names read ahead, to be handled together.
  static constexpr std::size_t kLanes = 16;
  struct Batch {
    std::array<std::pmr::string, kLanes> keys;  // on the ordinary heap, reused
    std::array<std::int32_t, kLanes> codes;
    std::array<std::size_t, kLanes> buckets;
    std::size_t size = 0;
  };
  void prefetchBuckets(Batch& batch) const;
  // Adds the batch's stations to the table; empties the batch.
  void insertStations(Batch& batch);
  // Marks the stations that the batch's names name and keeps the others as new; empties it.
  void matchUpdates(Batch& batch);

  using StationMap = std::pmr::unordered_map<std::pmr::string, std::pair<std::int32_t, bool>>;

  // Holds the hash table's entries and names, so that millions of them cost no allocator
  // overhead each and go at once; declared first, so that it is destroyed last.
  std::pmr::monotonic_buffer_resource arena{std::size_t{1} << 20};
  // name -> code, seen. The table itself lives in the arena and is never destroyed on its
  // own: its destructor would only visit every entry to give memory back to the arena, which
  // frees everything at once when it goes.
  StationMap& stations = *std::pmr::polymorphic_allocator<>(&arena).new_object<StationMap>();
  // The table's entries in the order they were made, for walking it in memory order.
  std::vector<const StationMap::value_type*> entries;
  std::set<std::string> newstations;
  std::map<std::int32_t, std::string> notused;
};

// The whole program: the two reports of the register in "F.IN". Returns the exit status.
int run(stationtext::ReportWriter& out);

}  // namespace onefile
