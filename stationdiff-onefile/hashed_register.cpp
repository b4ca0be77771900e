// The single-file register: stations hashed by name, matched against the update lines that
// follow them in the same file.
#include "hashed_register.hpp"

#include <algorithm>
#include <string_view>

#include "rename_hints.hpp"
#include "station_file.hpp"

namespace onefile {

stationtext::RegisterRead TimeTable::load(const char* filename) {
  stationtext::StationFile file(filename);
  if (!file.opened()) return {file.outcome()};
  file.readCount();
  // In file order: the first station of a name keeps its code; later ones change nothing. Names
  // come in batches, so that the memory each needs is asked for before any is looked up.
  const auto nextStation = [&](std::string_view& name, Station& station) {
    return file.nextStation(station.code, name);
  };
  for (stationtext::HashedBatch<decltype(stations), Station> batch(stations);
       batch.refill(nextStation);) {
    for (std::size_t i = 0; i < batch.size(); ++i)
      stations.insert(batch.name(i), batch.value(i), batch.hash(i));
  }
  // Each update name marks its station as seen; a name that the register lacks is new.
  const auto nextUpdate = [&](std::string_view& name) { return file.nextUpdate(name); };
  for (stationtext::HashedBatch<decltype(stations), stationtext::NoValue> batch(stations);
       batch.refill(nextUpdate);) {
    for (std::size_t i = 0; i < batch.size(); ++i) {
      if (Station* const station = stations.find(batch.name(i), batch.hash(i))) {
        station->state = true;
      } else {
        newstations.insert(batch.name(i), {});
      }
    }
  }
  // Nothing is looked up any more: the reports only walk the names.
  stations.dropIndex();
  newstations.dropIndex();
  return file.registerRead(false);
}

void TimeTable::printNotUsed(stationtext::ReportWriter& out) {
  out.put("Not used: ").endLine();
  // Of the unused stations of a code, the first in the file is listed. Whenever they have
  // doubled since they were last made distinct by code, they are again, so that they never take
  // more than twice the room of the codes listed.
  std::size_t distinct = 0;
  const auto keepFirstOfEachCode = [&] {
    std::sort(notused.begin(), notused.end(), [](const NotUsed& a, const NotUsed& b) {
      return a.code < b.code || (a.code == b.code && a.line < b.line);
    });
    notused.erase(std::unique(notused.begin(), notused.end(),
                              [](const NotUsed& a, const NotUsed& b) { return a.code == b.code; }),
                  notused.end());
    distinct = notused.size();
  };
  std::uint32_t line = 0;
  stations.forEach([&](std::string_view name, const Station& station) {
    if (!station.state) notused.push_back({station.code, line, name});
    ++line;
    if (notused.size() >= 2 * distinct + kFewCodes) keepFirstOfEachCode();
  });
  keepFirstOfEachCode();
  for (const NotUsed& station : notused)
    out.put(station.code).put(" ").put(station.name).endLine();
}

void TimeTable::printNewStations(stationtext::ReportWriter& out) {
  out.put("\nNew stations: ").put(newstations.size()).endLine();
  neworder = stationtext::sortedNames(newstations);
  for (const stationtext::KeyedName& name : neworder)
    out.put(name.name).endLine();
}

void TimeTable::printRenames(stationtext::ReportWriter& out) {
  std::vector<std::string_view> gone, fresh;
  gone.reserve(notused.size());
  for (const NotUsed& station : notused)
    gone.push_back(station.name);
  fresh.reserve(neworder.size());
  for (const stationtext::KeyedName& name : neworder)
    fresh.push_back(name.name);
  const std::vector<stationtext::RenameHint> hints = stationtext::findRenames(gone, fresh);
  out.put("\nProbably renamed: ").put(hints.size()).endLine();
  for (const stationtext::RenameHint& hint : hints)
    out.put(notused[hint.gone].code)
        .put(" ")
        .put(gone[hint.gone])
        .put("\t")
        .put(fresh[hint.fresh])
        .endLine();
}

}  // namespace onefile
