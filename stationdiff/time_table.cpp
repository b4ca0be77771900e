// The two-file register: stations sorted by name, matched against the update list.
#include "time_table.hpp"

#include <algorithm>

#include "reports.hpp"
#include "station_file.hpp"
#include "word_census.hpp"

namespace stationdiff {

using stationtext::ReadOutcome;

bool compStationNames(const elem& e1, const elem& e2) {
  return e1.station < e2.station;
}

bool compStationIds(const elem& e1, const elem& e2) {
  return e1.id < e2.id;
}

ReadOutcome TimeTable::load(const char* stations, const char* updates) {
  const ReadOutcome loaded = loadRegister(stations);
  if (loaded.kind != ReadOutcome::complete) return loaded;
  sortStations();
  return matchUpdates(updates);
}

ReadOutcome TimeTable::loadRegister(const char* filename) {
  stationtext::StationFile file(filename);
  if (!file.opened()) return file.outcome();
  const std::size_t count = file.readCount();
  std::int32_t code;
  std::string_view name;
  while (file.nextStation(code, name)) {
    // Room grows with the stations read, doubling, but never past the count: an honest count
    // leaves no room unused, and a lying one makes nothing bigger.
    if (stations.size() == stations.capacity())
      stations.reserve(std::min(count, std::max<std::size_t>(1024, 2 * stations.size())));
    stations.push_back({code, names.keep(name), false});
  }
  return file.outcome();
}

void TimeTable::sortStations() {
  // As std::sort with compStationNames would: stations of equal name end up next to each
  // other, in no fixed order.
  index.sortStations(stations);
}

ReadOutcome TimeTable::matchUpdates(const char* filename) {
  stationtext::StationFile updates(filename);
  if (!updates.opened()) return {};  // no update list: every station stays unseen
  index.match([&](std::string_view& name) { return updates.nextUpdate(name); },
              [&](std::size_t at) { stations[at].state = true; },
              [&](std::string_view name) { newstations.emplace(name); });
  return updates.outcome();
}

void TimeTable::printNotUsed(stationtext::ReportWriter& out) {
  index.release();  // the search is over; the report's copies may have the room
  out.put("Eltunt allomasok: ").endLine();
  notused.reserve(notused.size() +
                  static_cast<std::size_t>(std::count_if(stations.begin(), stations.end(),
                                                         [](const elem& e) { return !e.state; })));
  for (const elem& e : stations) {
    if (!e.state) notused.push_back(e);
  }
  std::sort(notused.begin(), notused.end(), compStationIds);
  for (const elem& e : notused)
    out.put(e.id).put(" ").put(e.station).endLine();
}

void TimeTable::printNewStations(stationtext::ReportWriter& out) {
  out.put("\nUj allomasok: ").endLine();
  for (const std::string& name : newstations)
    out.put(name).endLine();
}

int run(const Files& files, stationtext::ReportWriter& out) {
  return stationtext::guardMemory(out, [&](const char*& input) {
    // The census runs first, so that a failed read leaves no half line behind.
    input = files.census.c_str();
    std::size_t words = 0;
    const ReadOutcome census = countDistinctWords(files.census.c_str(), words);
    if (census.kind == ReadOutcome::readFailed) return stationtext::failInput(out, census);
    out.put("SIZE: ").put(words).endLine();

    input = files.stations.c_str();
    TimeTable table;
    return stationtext::writeReports(
        table, table.load(files.stations.c_str(), files.updates.c_str()), out);
  });
}

}  // namespace stationdiff
