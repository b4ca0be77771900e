// The single-file register: stations hashed by name, matched against the update lines that
// follow them in the same file.
#include "time_table.hpp"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "reports.hpp"
#include "text_format.hpp"

namespace onefile {

using stationtext::ReadOutcome;

ReadOutcome TimeTable::load(const char* filename) {
  stationtext::InputFile in = stationtext::InputFile::open(filename);
  if (!in) return {ReadOutcome::notOpened, filename};
  stationtext::LineReader reader(in.file.get());
  const stationtext::CountLine count = readCountLine(reader);
  // A count that is not a number leaves the rest of the file unread: no stations, no updates.
  if (count.failed) return reader.outcome(filename);
  std::string_view line, name;
  std::string scratch;
  Stations::Batch batch(stations);  // lines read ahead, to be looked up together
  if (count.count > 0) {
    // Reserving for the count saves growing, but a count line may promise far more than the
    // file holds: the file's size caps the reservation (a file of shorter lines grows it).
    constexpr std::uint64_t kTypicalLine = 32;
    const auto promised = static_cast<std::uint64_t>(count.count);
    if (in.regular) stations.reserve(std::min(promised, in.size / kTypicalLine + 1));
    for (std::int32_t i = 0; i < count.count && reader.next(line); ++i) {
      const std::int32_t code = stationtext::parseStationLine(line, scratch, name);
      // In file order: the first station of a name keeps its code; later ones change nothing.
      if (batch.add(name, {code, false})) stations.addAll(batch, names);
    }
    stations.addAll(batch, names);
  }
  while (reader.next(line)) {
    if (!stationtext::parseUpdateLine(line, scratch, name)) continue;
    if (batch.add(name)) matchUpdates(batch);
  }
  matchUpdates(batch);
  return reader.outcome(filename);
}

void TimeTable::matchUpdates(Stations::Batch& batch) {
  stations.findAll(batch, [&](std::string_view name, Stations::Entry* entry) {
    if (entry != nullptr) {
      entry->value.seen = true;
    } else {
      newstations.emplace(name);
    }
  });
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
