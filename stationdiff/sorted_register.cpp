// The two-file register: stations sorted by name, matched against the update list.
#include "sorted_register.hpp"

#include <algorithm>
#include <span>

#include "name_index.hpp"
#include "places.hpp"
#include "station_file.hpp"

namespace stationdiff {

using stationtext::ReadOutcome;

namespace {

// A station's name, as the name index reads it.
constexpr auto kName = [](const elem& e) { return e.station; };

}  // namespace

bool compStationNames(const elem& e1, const elem& e2) {
  return stationtext::compareNames(e1.station, e2.station) < 0;
}

bool compStationIds(const elem& e1, const elem& e2) {
  return e1.id < e2.id;
}

stationtext::RegisterRead TimeTable::loadRegister(const char* path) {
  stationtext::StationFile file(path);
  if (!file.opened()) return {file.outcome()};
  const std::size_t count = file.readCount();
  std::int32_t code;
  std::string_view name;
  while (file.nextStation(code, name)) {
    // Room grows with the stations read, doubling, but never past the count: an honest count
    // leaves no room unused, and a lying one makes nothing bigger.
    if (stations.size() == stations.capacity())
      stations.reserve(std::min(count, std::max<std::size_t>(1024, 2 * stations.size())));
    stations.push_back({names.keep(name), code, false});
  }
  // Stations of equal name end up next to each other, in no fixed order.
  stationtext::BigVector<std::uint32_t> place = index.sort(std::span<const elem>(stations), kName);
  moveToPlaces(std::span(stations), std::span(place));
  return file.registerRead(true);
}

ReadOutcome TimeTable::matchUpdates(const char* path) {
  stationtext::StationFile updates(path);
  if (updates.opened()) {
    index.match(
        std::span<const elem>(stations), kName,
        [&](std::string_view& name) { return updates.nextUpdate(name); },
        [&](std::string_view name, std::size_t at) {
          if (at != NameIndex::kNotFound) {
            stations[at].state = true;
            return;
          }
          // A new name is kept once: one search tells whether it is there and, when it is
          // not, where it goes, which the insertion is then given.
          const auto next = newstations.lower_bound(name);
          if (next == newstations.end() || *next != name)
            newstations.emplace_hint(next, names.keep(name));
        });
  }
  index = {};  // the searches are over: the report may have the room
  return updates.outcome();
}

void TimeTable::printNotUsed(stationtext::ReportWriter& out) {
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
  for (const std::string_view name : newstations)
    out.put(name).endLine();
}

}  // namespace stationdiff
