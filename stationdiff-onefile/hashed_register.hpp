// The single-file register: stations hashed by name, matched against the update lines that
// follow them in the same file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "line_reader.hpp"
#include "name_arena.hpp"
#include "name_table.hpp"
#include "report_writer.hpp"
#include "station_file.hpp"

namespace onefile {

// What the register holds for a station name.
struct Station {
  std::int32_t code;
  bool state;  // seen: an update line named this station
};

// The register at the start of one file in a table keyed by name, with the stations that the
// rest of the file names marked as seen, and the names it holds that the register lacks.
class TimeTable {
 public:
  // Loads the register at the start of `filename` and matches the update lines after it.
  // Reports a file that cannot be opened, a read error, and what the register's count
  // announced beside what it held.
  stationtext::RegisterRead load(const char* filename);

  // Writes one unused station per code, codes ascending.
  void printNotUsed(stationtext::ReportWriter& out);
  // Writes the number of new names, then the names in name order.
  void printNewStations(stationtext::ReportWriter& out);

 private:
  using Stations = stationtext::NameTable<Station>;
  // Unused stations gathered before they are first made distinct by code: sorting this few
  // costs little, and it is little room.
  static constexpr std::size_t kFewCodes = 4096;
  // How many lines ahead the report asks for a name: about as many misses as a core keeps in
  // flight.
  static constexpr std::size_t kAhead = 8;

  // Name -> code, seen: the register's stations in file order, then each new name once.
  Stations stations;
  std::size_t newstations = 0;  // the number of the first new name's entry
  // The first unused station of each code, by code: (code, its entry's number).
  std::vector<std::pair<std::int32_t, std::uint32_t>> notused;

  stationtext::NameArena names;  // the bytes of every name in `stations`
};

}  // namespace onefile
