// The single-file register: stations hashed by name, matched against the update lines that
// follow them in the same file.
#include "hashed_register.hpp"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "station_file.hpp"
#include "text_format.hpp"

namespace onefile {

stationtext::RegisterRead TimeTable::load(const char* filename) {
  stationtext::StationFile file(filename);
  if (!file.opened()) return {file.outcome()};
  file.readCount();
  const auto keep = [&](std::string_view name) { return names.keep(name); };
  // In file order: the first station of a name keeps its code; later ones change nothing. Each
  // station starts unseen, as the batch hands out a value-initialised Station.
  stations.addAll([&](std::string_view& name,
                      Station& station) { return file.nextStation(station.code, name); },
                  keep);
  // Each update name marks its station as seen. A name that the register lacks is new: it is
  // added to the table too, after the stations, so that it is held once however often it comes;
  // the report of unused stations reads the stations only.
  newstations = stations.size();
  stations.addAll([&](std::string_view& name, Station&) { return file.nextUpdate(name); }, keep,
                  [](Stations::Entry& entry) { entry.value.state = true; });
  return file.registerRead(false);
}

void TimeTable::printNotUsed(stationtext::ReportWriter& out) {
  out.put("Not used: ").endLine();
  // Of several unused stations that share a code, the first in file order is listed: the
  // table's entries come in that order, and ordering (code, entry number) pairs puts it first
  // among its code. Whenever the pairs have doubled since they were last made distinct by code,
  // they are again, so that they never take more than twice the room of the codes listed.
  const auto& entries = stations.entries();
  std::size_t distinct = 0;
  const auto keepFirstOfEachCode = [&] {
    std::sort(notused.begin(), notused.end());
    notused.erase(std::unique(notused.begin(), notused.end(),
                              [](const auto& a, const auto& b) { return a.first == b.first; }),
                  notused.end());
    distinct = notused.size();
  };
  for (std::size_t i = 0; i < newstations; ++i) {
    if (entries[i].value.state) continue;
    notused.emplace_back(entries[i].value.code, static_cast<std::uint32_t>(i));
    if (notused.size() >= 2 * distinct + kFewCodes) keepFirstOfEachCode();
  }
  keepFirstOfEachCode();
  // The names listed lie all over the arena: each is asked for a few lines ahead, its entry a
  // few more.
  for (std::size_t k = 0; k < notused.size(); ++k) {
    if (k + 2 * kAhead < notused.size())
      __builtin_prefetch(&entries[notused[k + 2 * kAhead].second]);
    if (k + kAhead < notused.size())
      __builtin_prefetch(entries[notused[k + kAhead].second].name.data());
    out.put(notused[k].first).put(" ").put(entries[notused[k].second].name).endLine();
  }
}

void TimeTable::printNewStations(stationtext::ReportWriter& out) {
  const auto& entries = stations.entries();
  out.put("\nNew stations: ").put(entries.size() - newstations).endLine();
  std::vector<std::string_view> sorted;
  sorted.reserve(entries.size() - newstations);
  for (std::size_t i = newstations; i < entries.size(); ++i)
    sorted.push_back(entries[i].name);
  std::sort(sorted.begin(), sorted.end(), stationtext::NameOrder());
  for (const std::string_view name : sorted)
    out.put(name).endLine();
}

}  // namespace onefile
