// The two-file register: stations sorted by name, matched against the update list.
#include "time_table.hpp"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "station_line.hpp"

using stationtext::InputFile;
using stationtext::LineReader;

bool compStationNames(const elem& e1, const elem& e2) {
  return e1.station < e2.station;
}

bool compStationIds(const elem& e1, const elem& e2) {
  return e1.id < e2.id;
}

namespace {

// Lets the word set look up a word by view and copy it only when it is new.
struct WordHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view word) const noexcept {
    return std::hash<std::string_view>{}(word);
  }
};

}  // namespace

std::size_t countDistinctWords(const char* path, stationtext::ReportWriter& out) {
  InputFile in = InputFile::open(path);
  if (!in) return 0;
  std::unordered_set<std::string, WordHash, std::equal_to<>> be;
  LineReader reader(in.file.get());
  std::string_view line;
  while (reader.next(line)) {
    std::size_t pos = 0;
    for (;;) {
      while (pos < line.size() && stationtext::isBlank(static_cast<unsigned char>(line[pos])))
        ++pos;
      if (pos == line.size()) break;
      const std::size_t start = pos;
      while (pos < line.size() && !stationtext::isBlank(static_cast<unsigned char>(line[pos])))
        ++pos;
      const std::string_view word = line.substr(start, pos - start);
      if (be.find(word) == be.end()) be.emplace(word);
    }
  }
  if (reader.error() != 0) out.failRead(path, reader.error());
  return be.size();
}

TimeTable::TimeTable(stationtext::ReportWriter& out) : out(out) {
  loadRegister("bemenet.txt");
  matchUpdates("frissites.txt");
}

void TimeTable::loadRegister(const char* filename) {
  InputFile in = InputFile::open(filename);
  if (!in) out.failOpen();
  LineReader reader(in.file.get());
  const stationtext::CountLine count = readCountLine(reader);
  if (!count.failed && count.count > 0) {
    // A count line may promise far more stations than the file can hold: every station needs
    // at least its newline, so the file's size bounds what is worth reserving.
    const std::uint64_t promised = static_cast<std::uint64_t>(count.count);
    if (in.regular) stations.reserve(std::min(promised, in.size + 1));
    std::string scratch;
    std::string_view line;
    // Reading stops at the end of the file when it holds fewer lines than promised.
    for (std::int32_t i = 0; i < count.count && reader.next(line); ++i) {
      stationtext::StationFields fields = stationtext::parseStationLine(line, scratch);
      stations.emplace_back(fields.code, std::move(fields.name), false);
    }
  }
  if (reader.error() != 0) out.failRead(filename, reader.error());
  std::sort(stations.begin(), stations.end(), compStationNames);
}

void TimeTable::matchUpdates(const char* filename) {
  InputFile in = InputFile::open(filename);
  if (!in) return;  // no update list: every station stays unseen
  LineReader reader(in.file.get());
  std::string_view line;
  const elem probe(0, std::string(), false);
  elem key = probe;
  while (reader.next(line)) {
    if (!stationtext::parseUpdateLine(line, key.station)) continue;
    const auto found = std::lower_bound(stations.begin(), stations.end(), key, compStationNames);
    if (found != stations.end() && found->station == key.station) {
      found->state = true;
    } else {
      newstations.insert(key.station);
    }
  }
  if (reader.error() != 0) out.failRead(filename, reader.error());
}

void TimeTable::printNotUsed() {
  out.put("Eltunt allomasok: ").endLine();
  for (const elem& e : stations) {
    if (!e.state) notused.push_back(e);
  }
  std::sort(notused.begin(), notused.end(), compStationIds);
  for (const elem& e : notused) {
    out.put(e.id).put(" ").put(e.station).endLine();
  }
}

void TimeTable::printNewStations() {
  out.put("\nUj allomasok: ").endLine();
  for (const std::string& name : newstations)
    out.put(name).endLine();
}
