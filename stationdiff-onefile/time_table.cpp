// The single-file register: stations hashed by name, matched against the update lines that
// follow them in the same file.
#include "time_table.hpp"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "text_format.hpp"

namespace onefile {

using stationtext::ReadOutcome;

ReadOutcome TimeTable::load(const char* filename) {
  stationtext::InputFile in = stationtext::InputFile::open(filename);
  if (!in) return {ReadOutcome::notOpened, filename};
  stationtext::LineReader reader(in.file.get());
  const stationtext::CountLine count = readCountLine(reader);
  // A count that is not a number leaves the rest of the file unread: no stations, no updates.
  if (!count.failed) {
    std::string_view line, name;
    std::string scratch;
    Batch batch;
    if (count.count > 0) {
      // Reserving for the count saves rehashing, but a count line may promise far more than
      // the file holds: the file's size caps the reservation.
      const std::uint64_t promised = static_cast<std::uint64_t>(count.count);
      if (in.regular) {
        const std::uint64_t room = std::min(promised, in.size / 32 + 1);
        stations.reserve(room);
        entries.reserve(room);
      }
      for (std::int32_t i = 0; i < count.count && reader.next(line); ++i) {
        batch.codes[batch.size] = stationtext::parseStationLine(line, scratch, name);
        batch.keys[batch.size].assign(name);
        if (++batch.size == kLanes) insertStations(batch);
      }
      insertStations(batch);
    }
    while (reader.next(line)) {
      if (!stationtext::parseUpdateLine(line, scratch, name)) continue;
      batch.keys[batch.size].assign(name);
      if (++batch.size == kLanes) matchUpdates(batch);
    }
    matchUpdates(batch);
  }
  return reader.outcome(filename);
}

void TimeTable::prefetchBuckets(Batch& batch) const {
  // Looking up the buckets of the whole batch first lets their memory reads overlap, instead
  // of each lookup waiting for its own in turn.
  for (std::size_t g = 0; g < batch.size; ++g) {
    batch.buckets[g] = stations.bucket(batch.keys[g]);
    const auto first = stations.begin(batch.buckets[g]);
    if (first != stations.end(batch.buckets[g])) __builtin_prefetch(&*first);
  }
}

void TimeTable::insertStations(Batch& batch) {
  prefetchBuckets(batch);
  // In file order: the first station of a name keeps its code; later ones change nothing.
  for (std::size_t g = 0; g < batch.size; ++g) {
    const auto [entry, added] = stations.try_emplace(batch.keys[g], batch.codes[g], false);
    if (added) entries.push_back(&*entry);
  }
  batch.size = 0;
}

void TimeTable::matchUpdates(Batch& batch) {
  prefetchBuckets(batch);
  for (std::size_t g = 0; g < batch.size; ++g) {
    const std::size_t bucket = batch.buckets[g];
    auto entry = stations.begin(bucket);
    while (entry != stations.end(bucket) && entry->first != batch.keys[g])
      ++entry;
    if (entry == stations.end(bucket)) {
      newstations.emplace(batch.keys[g]);
    } else {
      entry->second.second = true;
    }
  }
  batch.size = 0;
}

void TimeTable::printNotUsed(stationtext::ReportWriter& out) {
  out.put("Not used: ").endLine();
  // The table is walked in the order its entries were made, which is the order they lie in
  // memory: following the table's own links would wait for a cache miss at every entry.
  // Of several unused stations that share a code, the first met is listed.
  std::vector<std::pair<std::int32_t, const std::pmr::string*>> unused;
  for (const StationMap::value_type* entry : entries) {
    if (!entry->second.second) unused.emplace_back(entry->second.first, &entry->first);
  }
  std::stable_sort(unused.begin(), unused.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [code, name] : unused) {
    notused.try_emplace(notused.end(), code, std::string_view(*name));  // codes ascend
  }
  for (const auto& [code, name] : notused)
    out.put(code).put(" ").put(name).endLine();
}

void TimeTable::printNewStations(stationtext::ReportWriter& out) {
  out.put("\nNew stations: ").put(newstations.size()).endLine();
  for (const std::string& name : newstations)
    out.put(name).endLine();
}

int run(stationtext::ReportWriter& out) {
  TimeTable table;
  const ReadOutcome loaded = table.load("F.IN");
  if (loaded.kind == ReadOutcome::notOpened) {
    out.put("File open error").endLine();
    out.finish();
    return EXIT_FAILURE;
  }
  if (loaded.kind == ReadOutcome::readFailed) return out.failRead(loaded.path, loaded.error);
  table.printNotUsed(out);
  table.printNewStations(out);
  return out.finish();
}

}  // namespace onefile
