// The two-file register: stations sorted by name, matched against the update list.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory_resource>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "big_memory.hpp"
#include "line_reader.hpp"
#include "name_arena.hpp"
#include "name_index.hpp"
#include "report_writer.hpp"
#include "station_file.hpp"
#include "text_format.hpp"

namespace stationdiff {

// One station of the register, in 16 bytes (12 in 32-bit builds): the name's address, the id,
// and the name's length with the seen flag in one word.
struct elem {
  const char* name;  // the name's bytes, kept in the register's arena
  std::int32_t id;
  std::uint32_t size : 31;  // the name's length, or kHuge
  std::uint32_t state : 1;  // seen: an update line named this station

  // A length that does not fit: `name` then holds the bytes of a string_view of the name.
  static constexpr std::uint32_t kHuge = (std::uint32_t{1} << 31) - 1;

  // The station name.
  std::string_view station() const {
    if (size != kHuge) return {name, size};
    std::string_view huge;
    std::memcpy(&huge, name, sizeof huge);
    return huge;
  }
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
  // Writes, after printNotUsed(), the stations it listed that most likely became one of the new
  // names, with that name, in the order listed.
  void printRenames(stationtext::ReportWriter& out);

 private:
  // A station of `name`, kept in `names`.
  elem station(std::int32_t id, std::string_view name);

  // The register's stations, in file order while loading, then in name order.
  stationtext::GrowingArray<elem> stations;
  // Each new name once, kept in `names`; the set's nodes come from `newnodes`, freed at once.
  std::pmr::monotonic_buffer_resource newnodes;
  std::pmr::set<std::string_view, stationtext::NameOrder> newstations{&newnodes};
  // The stations no update line named, by id: filled by printNotUsed().
  std::vector<elem> notused;

  stationtext::NameArena names;  // the bytes of every station name and new name
  NameIndex index;               // the register's names in name order, for the searches
};

}  // namespace stationdiff
