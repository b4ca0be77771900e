// The single-file register: stations hashed by name, matched against the update lines that
// follow them in the same file.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "line_reader.hpp"
#include "name_arena.hpp"
#include "name_table.hpp"
#include "report_writer.hpp"

namespace onefile {

// What the register holds for a station name.
struct Station {
  std::int32_t code;
  bool seen;  // an update line named this station
};

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
  using Stations = stationtext::NameTable<Station>;

  Stations stations;  // name -> code, seen; in file order
  std::set<std::string> newstations;
  std::map<std::int32_t, std::string> notused;

  stationtext::NameArena names;  // the bytes of every station name
};

// The whole program: the two reports of the register at the start of `file` (main() passes
// "F.IN" in the working directory). Returns the exit status.
int run(const std::string& file, stationtext::ReportWriter& out);

}  // namespace onefile
