// The two-file register: stations sorted by name, matched against the update list.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "big_vector.hpp"
#include "line_reader.hpp"
#include "name_arena.hpp"
#include "report_writer.hpp"

namespace stationdiff {

class NameIndex;

// One station of the register. The name comes first: the record is 24 bytes instead of 32.
struct elem {
  std::string_view station;  // the name, kept in the register's arena
  std::int32_t id;
  bool state;  // seen: an update line named this station
};

// Name order: namekeys::compareNames, which the name index sorts and searches by.
bool compStationNames(const elem& e1, const elem& e2);
// Id order: signed ascending.
bool compStationIds(const elem& e1, const elem& e2);

// The register of "bemenet.txt" sorted by name, with the stations that "frissites.txt" names
// marked as seen, and the names it holds that the register lacks.
class TimeTable {
 public:
  // Loads the register from the file `registerPath`, sorts it by name and matches the update
  // list in the file `updatesPath` against it. Reports a register that cannot be opened, and
  // any read error; a missing update list is an empty one.
  stationtext::ReadOutcome load(const char* registerPath, const char* updatesPath);

  // Writes the register stations that no update line named, by id.
  void printNotUsed(stationtext::ReportWriter& out);
  // Writes the update names that the register lacks, in name order.
  void printNewStations(stationtext::ReportWriter& out);

 private:
  stationtext::ReadOutcome loadRegister(const char* filename);
  stationtext::ReadOutcome matchUpdates(const char* filename, const NameIndex& index);

  stationtext::BigVector<elem> stations;
  std::set<std::string> newstations;
  std::vector<elem> notused;

  stationtext::NameArena names;  // the bytes of every station name
};

// The files the program reads; main() passes "be.txt", "bemenet.txt" and "frissites.txt" in the
// working directory.
struct Files {
  std::string census;    // its distinct words are counted; optional
  std::string stations;  // the register; required
  std::string updates;   // the update list; optional
};

// The whole program: the word census, then the register's two reports. Returns the exit
// status.
int run(const Files& files, stationtext::ReportWriter& out);

}  // namespace stationdiff
