// The two-file register: stations sorted by name, matched against the update list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "report_writer.hpp"

// One station of the register.
struct elem {
  std::int32_t id;
  std::string station;
  bool state;  // seen: an update line named this station

  elem(std::int32_t id, std::string station, bool state)
      : id(id), station(std::move(station)), state(state) {}
};

// Name order: bytes compared as unsigned values, a prefix first.
bool compStationNames(const elem& e1, const elem& e2);
// Id order: signed ascending.
bool compStationIds(const elem& e1, const elem& e2);

// Number of distinct whitespace-separated words in the file at `path`; 0 when it cannot be
// opened or is a directory. A read error ends the process through `out`.
std::size_t countDistinctWords(const char* path, stationtext::ReportWriter& out);

// Loads "bemenet.txt" from the working directory, sorts it by name and marks the stations that
// "frissites.txt" names; names the register lacks are kept as new. A register that cannot be
// opened ends the process with "File open error" and status 1.
class TimeTable {
 public:
  explicit TimeTable(stationtext::ReportWriter& out);

  // Writes the register stations that no update line named, by id.
  void printNotUsed();
  // Writes the update names that the register lacks, in name order.
  void printNewStations();

 private:
  void loadRegister(const char* filename);
  void matchUpdates(const char* filename);

  std::vector<elem> stations;
  std::set<std::string> newstations;
  std::vector<elem> notused;
  stationtext::ReportWriter& out;
};
