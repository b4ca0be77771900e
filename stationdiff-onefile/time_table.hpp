// The single-file register: stations hashed by name, matched against the update lines that
// follow them in the same file.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

#include "report_writer.hpp"

// Loads the register at the start of `filename` into a table keyed by name and marks the
// stations that the rest of the file names; names the register lacks are kept as new. A file
// that cannot be opened ends the process with "File open error" and status 1.
class TimeTable {
 public:
  TimeTable(std::string filename, stationtext::ReportWriter& out);

  // Writes one unused station per code, codes ascending.
  void printNotUsed();
  // Writes the number of new names, then the names in name order.
  void printNewStations();

 private:
  std::unordered_map<std::string, std::pair<std::int32_t, bool>> stations;  // name -> code, seen
  std::set<std::string> newstations;
  std::map<std::int32_t, std::string> notused;
  stationtext::ReportWriter& out;
};
