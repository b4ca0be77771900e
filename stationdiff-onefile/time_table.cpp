// The single-file register: stations hashed by name, matched against the update lines that
// follow them in the same file.
#include "time_table.hpp"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "reports.hpp"
#include "station_file.hpp"

namespace onefile {

using stationtext::ReadOutcome;

ReadOutcome TimeTable::load(const char* filename) {
  stationtext::StationFile file(filename);
  if (!file.opened()) return file.outcome();
  stations.reserve(file.readCount());
  // In file order: the first station of a name keeps its code; later ones change nothing.
  stations.addAll(
      [&](std::string_view& name, Station& station) {
        station.seen = false;
        return file.nextStation(station.code, name);
      },
      names);
  stations.findAll([&](std::string_view& name) { return file.nextUpdate(name); },
                   [&](std::string_view name, Stations::Entry* entry) {
                     if (entry != nullptr) {
                       entry->value.seen = true;
                     } else {
                       newstations.emplace(name);
                     }
                   });
  return file.outcome();
}

void TimeTable::printNotUsed(stationtext::ReportWriter& out) {
  out.put("Not used: ").endLine();
  // Of several unused stations that share a code, the first in file order is listed: the
  // table's entries come in that order, and the sort by code keeps it among equal codes.
  std::vector<std::pair<std::int32_t, std::string_view>> unused;
  for (const auto& [name, station] : stations.entries()) {
    if (!station.seen) unused.emplace_back(station.code, name);
  }
  std::stable_sort(unused.begin(), unused.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [code, name] : unused)
    notused.try_emplace(notused.end(), code, name);  // codes ascend
  for (const auto& [code, name] : notused)
    out.put(code).put(" ").put(name).endLine();
}

void TimeTable::printNewStations(stationtext::ReportWriter& out) {
  out.put("\nNew stations: ").put(newstations.size()).endLine();
  for (const std::string& name : newstations)
    out.put(name).endLine();
}

int run(const std::string& file, stationtext::ReportWriter& out) {
  TimeTable table;
  return stationtext::writeReports(table, table.load(file.c_str()), out);
}

}  // namespace onefile
