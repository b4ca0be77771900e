// The two-file register: stations sorted by name, matched against the update list.
#include "sorted_register.hpp"

#include <algorithm>
#include <span>

#include "name_index.hpp"
#include "rename_hints.hpp"
#include "station_file.hpp"

namespace stationdiff {

using stationtext::ReadOutcome;

namespace {

// A station's name, as the name index reads it: a lambda, which the index's loops inline.
constexpr auto kName = [](const elem& e) { return e.station(); };

}  // namespace

bool compStationNames(const elem& e1, const elem& e2) {
  return stationtext::compareNames(e1.station(), e2.station()) < 0;
}

bool compStationIds(const elem& e1, const elem& e2) {
  return e1.id < e2.id;
}

elem TimeTable::station(std::int32_t id, std::string_view name) {
  const std::string_view kept = names.keep(name);
  if (kept.size() < elem::kHuge)
    return {kept.data(), id, static_cast<std::uint32_t>(kept.size()), 0};
  const std::string_view held =
      names.keep(std::string_view(reinterpret_cast<const char*>(&kept), sizeof kept));
  return {held.data(), id, elem::kHuge, 0};
}

stationtext::RegisterRead TimeTable::loadRegister(const char* path) {
  stationtext::StationFile file(path);
  if (!file.opened()) return {file.outcome()};
  const std::size_t count = file.readCount();
  std::int32_t code;
  std::string_view name;
  while (file.nextStation(code, name)) {
    // Room grows with the stations read, by the growth rule but never past the count: an honest
    // count leaves no room unused, and a lying one makes nothing bigger.
    if (stations.size() == stations.capacity())
      stations.setCapacity(std::min(count, stationtext::nextCapacity(stations.size(), 1024)));
    stations.push_back(station(code, name));
  }
  // Stations of equal name end up next to each other, in no fixed order.
  index.sort(std::span(stations.data(), stations.size()), kName);
  return file.registerRead(true);
}

ReadOutcome TimeTable::matchUpdates(const char* path) {
  stationtext::StationFile updates(path);
  if (updates.opened()) {
    index.match(
        std::span<const elem>(stations.data(), stations.size()), kName,
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
    out.put(e.id).put(" ").put(e.station()).endLine();
}

void TimeTable::printNewStations(stationtext::ReportWriter& out) {
  out.put("\nUj allomasok: ").endLine();
  for (const std::string_view name : newstations)
    out.put(name).endLine();
}

void TimeTable::printRenames(stationtext::ReportWriter& out) {
  out.put("\nValoszinu atnevezesek: ").endLine();
  std::vector<std::string_view> gone, fresh(newstations.begin(), newstations.end());
  gone.reserve(notused.size());
  for (const elem& e : notused)
    gone.push_back(e.station());
  for (const stationtext::RenameHint& hint : stationtext::findRenames(gone, fresh))
    out.put(notused[hint.gone].id)
        .put(" ")
        .put(gone[hint.gone])
        .put("\t")
        .put(fresh[hint.fresh])
        .endLine();
}

}  // namespace stationdiff
