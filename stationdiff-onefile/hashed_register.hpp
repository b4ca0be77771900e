// The single-file register: stations hashed by name, matched against the update lines that
// follow them in the same file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "line_reader.hpp"
#include "name_order.hpp"
#include "name_table.hpp"
#include "report_writer.hpp"
#include "station_file.hpp"

namespace onefile {

// What the register holds for a station name.
struct Station {
  std::int32_t code;
  bool state;  // seen: an update line named this station
};

// An unused station as the report lists it: its code and name, and its place in the file.
struct NotUsed {
  std::int32_t code;
  std::uint32_t line;  // the station's number among the register's names, in file order
  std::string_view name;
};

// The register at the start of one file in a table keyed by name, with the stations that the
// rest of the file names marked as seen, and the names it holds that the register lacks.
class TimeTable {
 public:
  // Loads the register at the start of `filename` and matches the update lines after it.
  // Reports a file that cannot be opened, a read error, and what the register's count
  // announced beside what it held.
  stationtext::RegisterRead load(const char* filename);

  // Writes one unused station per code, codes ascending: the first of them in the file.
  void printNotUsed(stationtext::ReportWriter& out);
  // Writes the number of new names, then the names in name order.
  void printNewStations(stationtext::ReportWriter& out);
  // Writes, after the two reports, the number of unused stations listed that most likely became
  // one of the new names, then each with that name, in the order listed.
  void printRenames(stationtext::ReportWriter& out);

 private:
  // Unused stations gathered before they are first made distinct by code: sorting this few
  // costs little, and it is little room.
  static constexpr std::size_t kFewCodes = 4096;

  // Each station name with the first code given to it, and whether an update line named it.
  stationtext::NameTable<Station> stations;
  // Each update name that the register lacks, once.
  stationtext::NameTable<> newstations;
  // The first unused station of each code, by code: filled by printNotUsed().
  std::vector<NotUsed> notused;
  // The new names in name order: filled by printNewStations().
  std::vector<stationtext::KeyedName> neworder;
};

}  // namespace onefile
