// The two-file register: stations sorted by name, matched against the update list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "name_arena.hpp"
#include "name_keys.hpp"
#include "report_writer.hpp"

// One station of the register.
struct elem {
  std::int32_t id;
  StationName station;
  bool state;  // seen: an update line named this station

  elem(std::int32_t id, StationName station, bool state)
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
  void sortStations();
  void matchUpdates(const char* filename);

  // Update names waiting to be matched, kept back to back.
  struct UpdateBatch {
    struct Name {
      namekeys::PrefixKey key;
      std::size_t offset;
      std::size_t length;
    };
    std::vector<Name> names;
    std::string bytes;

    void add(std::string_view name);
    bool full() const { return names.size() >= 131072 || bytes.size() >= (std::size_t{4} << 20); }
  };
  // Marks the stations that the batch names, keeps the other names as new, and empties it.
  void matchBatch(UpdateBatch& batch);
  // Sets found[g], for each of the `lanes` names, to the index of the first station of that
  // name, or to stations.size() when there is none.
  static constexpr std::size_t kLanes = 32;
  void findStations(const UpdateBatch::Name* names, std::size_t lanes, const std::string& bytes,
                    std::size_t* found) const;

  NameArena arena;  // holds every station name below, so it goes last
  std::vector<elem> stations;
  std::set<std::string> newstations;
  std::vector<elem> notused;
  // The prefix key of each station's name, in the order of `stations` once sorted.
  std::vector<namekeys::PrefixKey> keys;
  stationtext::ReportWriter& out;
};
