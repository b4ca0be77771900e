// The single-file register: stations hashed by name, matched against the update lines that
// follow them in the same file.
#include "time_table.hpp"

#include <algorithm>
#include <string_view>

#include "station_line.hpp"

TimeTable::TimeTable(std::string filename, stationtext::ReportWriter& out) : out(out) {
  stationtext::InputFile in = stationtext::InputFile::open(filename.c_str());
  if (!in) out.failOpen();
  stationtext::LineReader reader(in.file.get());
  const stationtext::CountLine count = readCountLine(reader);
  // A count that is not a number leaves the rest of the file unread: no stations, no updates.
  if (!count.failed) {
    std::string_view line;
    std::string name;
    std::pmr::string key;  // the name as the table's key type, on the ordinary heap
    if (count.count > 0) {
      // Reserving for the count saves rehashing, but a count line may promise far more than
      // the file holds: the file's size caps the reservation.
      const std::uint64_t promised = static_cast<std::uint64_t>(count.count);
      if (in.regular) stations.reserve(std::min(promised, in.size / 8 + 1));
      for (std::int32_t i = 0; i < count.count && reader.next(line); ++i) {
        const std::int32_t code = stationtext::parseStationLine(line, name);
        key.assign(name);
        // The first station of a name keeps its code; later ones change nothing.
        stations.try_emplace(key, code, false);
      }
    }
    while (reader.next(line)) {
      if (!stationtext::parseUpdateLine(line, name)) continue;
      key.assign(name);
      const auto found = stations.find(key);
      if (found == stations.end()) {
        newstations.insert(name);
      } else {
        found->second.second = true;
      }
    }
  }
  if (reader.error() != 0) out.failRead(filename.c_str(), reader.error());
}

void TimeTable::printNotUsed() {
  out.put("Not used: ").endLine();
  for (const auto& [name, entry] : stations) {
    if (!entry.second) notused.try_emplace(entry.first, std::string_view(name));
  }
  for (const auto& [code, name] : notused)
    out.put(code).put(" ").put(name).endLine();
}

void TimeTable::printNewStations() {
  out.put("\nNew stations: ").put(static_cast<std::uint64_t>(newstations.size())).endLine();
  for (const std::string& name : newstations)
    out.put(name).endLine();
}
