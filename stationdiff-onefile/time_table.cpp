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
    if (count.count > 0) {
      // Every station needs at least its newline, so the file's size bounds the reservation
      // when the count line promises more than the file can hold.
      const std::uint64_t promised = static_cast<std::uint64_t>(count.count);
      if (in.regular) stations.reserve(std::min(promised, in.size / 2 + 1));
      std::string scratch;
      for (std::int32_t i = 0; i < count.count && reader.next(line); ++i) {
        stationtext::StationFields fields = stationtext::parseStationLine(line, scratch);
        // The first station of a name keeps its code; later ones change nothing.
        stations.try_emplace(std::move(fields.name), fields.code, false);
      }
    }
    std::string name;
    while (reader.next(line)) {
      if (!stationtext::parseUpdateLine(line, name)) continue;
      const auto found = stations.find(name);
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
    if (!entry.second) notused.try_emplace(entry.first, name);
  }
  for (const auto& [code, name] : notused)
    out.put(code).put(" ").put(name).endLine();
}

void TimeTable::printNewStations() {
  out.put("\nNew stations: ").put(static_cast<std::uint64_t>(newstations.size())).endLine();
  for (const std::string& name : newstations)
    out.put(name).endLine();
}
