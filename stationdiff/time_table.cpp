// The two-file register: stations sorted by name, matched against the update list.
#include "time_table.hpp"

#include <algorithm>

#include "reports.hpp"
#include "text_format.hpp"
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
  stationtext::InputFile in = stationtext::InputFile::open(filename);
  if (!in) return {ReadOutcome::notOpened, filename};
  stationtext::LineReader reader(in.file.get());
  const stationtext::CountLine count = readCountLine(reader);
  if (!count.failed && count.count > 0) {
    // Reserving for the count saves regrowing, but a count line may promise far more than the
    // file holds: the file's size caps the reservation (real station lines are longer than 8
    // bytes; a file of shorter ones just grows the array as it goes).
    constexpr std::uint64_t kShortestLine = 8;
    const auto promised = static_cast<std::uint64_t>(count.count);
    if (in.regular) stations.reserve(std::min(promised, in.size / kShortestLine + 1));
    std::string scratch;
    std::string_view line, name;
    // Reading stops at the end of the file when it holds fewer lines than promised.
    for (std::int32_t i = 0; i < count.count && reader.next(line); ++i) {
      const std::int32_t code = stationtext::parseStationLine(line, scratch, name);
      stations.push_back({code, names.keep(name), false});
    }
  }
  return reader.outcome(filename);
}

void TimeTable::sortStations() {
  // As std::sort with compStationNames would: stations of equal name end up next to each
  // other, in no fixed order.
  index.sortStations(stations);
}

ReadOutcome TimeTable::matchUpdates(const char* filename) {
  stationtext::InputFile in = stationtext::InputFile::open(filename);
  if (!in) return {};  // no update list: every station stays unseen
  stationtext::LineReader reader(in.file.get());
  std::string_view line, name;
  std::string scratch;
  // The names are looked up in batches; the order in which they are matched does not show, as
  // marking a station twice is marking it once and the new names form a set. A batch comes
  // back nearly in name order (names that tie on their first 14 bytes in any order), so each
  // new name is offered the place just after the one before, which is nearly always right.
  auto hint = newstations.end();
  const auto match = [&] {
    index.matchBatch([&](std::string_view update, std::size_t at) {
      if (at < stations.size()) {
        stations[at].state = true;
      } else {
        hint = std::next(newstations.emplace_hint(hint, update));
      }
    });
    hint = newstations.end();
  };
  while (reader.next(line)) {
    if (!stationtext::parseUpdateLine(line, scratch, name)) continue;
    index.add(name);
    if (index.full()) match();
  }
  match();
  return reader.outcome(filename);
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
  // The census runs first, so that a failed read leaves no half line behind.
  std::size_t words = 0;
  const ReadOutcome census = countDistinctWords(files.census.c_str(), words);
  if (census.kind == ReadOutcome::readFailed) return out.failRead(census.path, census.error);
  out.put("SIZE: ").put(words).endLine();

  TimeTable table;
  return stationtext::writeReports(table, table.load(files.stations.c_str(), files.updates.c_str()),
                                   out);
}

}  // namespace stationdiff
