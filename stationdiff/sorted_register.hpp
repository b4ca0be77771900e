// The two-file register: stations sorted by name, matched against the update list.
#pragma once

#include <cstdint>
#include <memory_resource>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "big_vector.hpp"
#include "line_reader.hpp"
#include "name_arena.hpp"
#include "name_index.hpp"
#include "report_writer.hpp"
#include "station_file.hpp"
#include "text_format.hpp"

namespace stationdiff {

// One station of the register. The name comes first: the record is 24 bytes instead of 32.
struct elem {
  std::string_view station;  // the name, kept in the register's arena
  std::int32_t id;
  bool state;  // seen: an update line named this station
};

// Name order: stationtext::compareNames, which the name index sorts and searches by.
bool compStationNames(const elem& e1, const elem& e2);
// Id order: signed ascending.
bool compStationIds(const elem& e1, const elem& e2);

// The register of "bemenet.txt" sorted by name, with the stations that "frissites.txt" names
// marked as seen, and the names it holds that the register lacks.
class TimeTable {
 public:
  // Loads the register from the file `path` and sorts it by name. Reports a register that
  // cannot be opened, a read error, and what its count announced beside what it held.
  stationtext::RegisterRead loadRegister(const char* path);
  // Matches the update list in the file `path` against the sorted register. A list that cannot
  // be opened is an empty one: the outcome says why, for a warning.
  stationtext::ReadOutcome matchUpdates(const char* path);

  // Writes the register stations that no update line named, by id.
  void printNotUsed(stationtext::ReportWriter& out);
  // Writes the update names that the register lacks, in name order.
  void printNewStations(stationtext::ReportWriter& out);

 private:
  stationtext::GrowingArray<elem> stations;
  // Each new name once, kept in `names`; the set's nodes come from `newnodes`, freed at once.
  std::pmr::monotonic_buffer_resource newnodes;
  std::pmr::set<std::string_view, stationtext::NameOrder> newstations{&newnodes};
  std::vector<elem> notused;

  stationtext::NameArena names;  // the bytes of every station name and new name
  NameIndex index;               // the register's names in name order, for the searches
};

}  // namespace stationdiff
