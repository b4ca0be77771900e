// The two-file register: stations sorted by name, matched against the update list.
#include "time_table.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstring>
#include <new>
#include <string_view>

#include "key_sort.hpp"
#include "name_keys.hpp"
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

// A set of distinct words: open addressing over a table of 8-byte slots, the words' bytes kept
// back to back, each after its length. A slot holds where its word starts and the top bits of
// the word's hash, so that a look-up touches one slot of a table small enough for the cache
// and reads a word's bytes only when those bits match.
class WordSet {
 public:
  std::size_t size() const { return count_; }

  void insert(std::string_view word) {
    if (2 * (count_ + 1) > slots_.size()) grow();
    const std::uint64_t hash = hashOf(word);
    const std::uint64_t tag = hash & kTagMask;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
      const std::uint64_t slot = slots_[at];
      if (slot == 0) {
        // Offsets have kOffsetBits bits: more distinct text than that is treated like running
        // out of memory, which it would be long before on any machine this runs on.
        if (bytes_.size() + sizeof(std::uint64_t) + word.size() >=
            (std::uint64_t{1} << kOffsetBits))
          throw std::bad_alloc();
        slots_[at] = tag | (bytes_.size() + 1);
        const std::uint64_t length = word.size();
        bytes_.append(reinterpret_cast<const char*>(&length), sizeof length);
        bytes_.append(word);
        ++count_;
        return;
      }
      if ((slot & kTagMask) == tag && wordAt(slot) == word) return;
    }
  }

 private:
  // A slot is 0 when empty, else the tag bits of the hash above the word's offset + 1.
  static constexpr int kOffsetBits = 40;  // 1 TiB of distinct words
  static constexpr std::uint64_t kTagMask = ~std::uint64_t{0} << kOffsetBits;

  std::string_view wordAt(std::uint64_t slot) const {
    const std::size_t offset = (slot & ~kTagMask) - 1;
    std::uint64_t length;
    std::memcpy(&length, bytes_.data() + offset, sizeof length);
    return std::string_view(bytes_).substr(offset + sizeof length, length);
  }

  // Eight bytes at a time, each step a multiply, with a final mix so that both the low bits
  // (the table position) and the high bits (the tag) depend on every byte.
  static std::uint64_t hashOf(std::string_view word) {
    std::uint64_t h = word.size() * 0x9e3779b97f4a7c15u;
    std::size_t i = 0;
    for (; i + 8 <= word.size(); i += 8) {
      std::uint64_t chunk;
      std::memcpy(&chunk, word.data() + i, sizeof chunk);
      h = (h ^ chunk) * 0xff51afd7ed558ccdu;
      h ^= h >> 32;
    }
    std::uint64_t tail = 0;
    for (int shift = 0; i < word.size(); ++i, shift += 8)
      tail |= std::uint64_t{static_cast<unsigned char>(word[i])} << shift;
    h = (h ^ tail) * 0xc4ceb9fe1a85ec53u;
    h ^= h >> 29;
    h *= 0xff51afd7ed558ccdu;
    return h ^ (h >> 32);
  }

  void grow() {
    std::vector<std::uint64_t> old(std::max<std::size_t>(1024, 2 * slots_.size()));
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const std::uint64_t slot : old) {
      if (slot == 0) continue;
      std::size_t at = hashOf(wordAt(slot)) & mask;
      while (slots_[at] != 0)
        at = (at + 1) & mask;
      slots_[at] = slot;
    }
  }

  std::vector<std::uint64_t> slots_;
  std::string bytes_;
  std::size_t count_ = 0;
};

}  // namespace

std::size_t countDistinctWords(const char* path, stationtext::ReportWriter& out) {
  InputFile in = InputFile::open(path);
  if (!in) return 0;
  WordSet be;
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
      be.insert(line.substr(start, pos - start));
    }
  }
  if (reader.error() != 0) out.failRead(path, reader.error());
  return be.size();
}

TimeTable::TimeTable(stationtext::ReportWriter& out) : out(out) {
  const ArenaScope scope(arena);
  loadRegister("bemenet.txt");
  sortStations();
  matchUpdates("frissites.txt");
}

void TimeTable::loadRegister(const char* filename) {
  InputFile in = InputFile::open(filename);
  if (!in) out.failOpen();
  LineReader reader(in.file.get());
  const stationtext::CountLine count = readCountLine(reader);
  if (!count.failed && count.count > 0) {
    // Reserving for the count saves regrowing, but a count line may promise far more than the
    // file holds: the file's size caps the reservation (real station lines are longer than 8
    // bytes; a file of shorter ones just grows the array as it goes).
    const std::uint64_t promised = static_cast<std::uint64_t>(count.count);
    if (in.regular) stations.reserve(std::min(promised, in.size / 8 + 1));
    std::string scratch;
    std::string_view line, name;
    // Reading stops at the end of the file when it holds fewer lines than promised.
    for (std::int32_t i = 0; i < count.count && reader.next(line); ++i) {
      const std::int32_t code = stationtext::parseStationLine(line, scratch, name);
      stations.emplace_back(code, StationName(name), false);
    }
  }
  if (reader.error() != 0) out.failRead(filename, reader.error());
}

namespace {

// Asks for the part of a station that reading its name needs: the string's pointer and length,
// which straddle two cache lines for one station in four.
void prefetchNameOf(const elem& e) {
  const char* const p = reinterpret_cast<const char*>(&e.station);
  __builtin_prefetch(p);
  __builtin_prefetch(p + sizeof e.station - 1);
}

struct SortEntry {
  std::uint64_t key;    // chunk key of the name at the offset being sorted on
  std::uint32_t index;  // the station's position in file order
};

// Sorts `entries` by the names of the stations they point to: by first-chunk key, and each run
// of names that tie on a chunk again by the next chunk, until no tie is left open. `second`
// holds each station's second-chunk key by file position: nearly every name ties on its first
// chunk, and one read there is cheaper than reaching the name through its station.
void sortByName(std::vector<SortEntry>& entries, const std::vector<elem>& stations,
                const std::vector<std::uint64_t>& second) {
  struct Run {
    std::size_t first, last, offset;
  };
  std::vector<Run> runs{{0, entries.size(), 0}};
  while (!runs.empty()) {
    const Run run = runs.back();
    runs.pop_back();
    const auto first = entries.begin() + static_cast<std::ptrdiff_t>(run.first);
    const auto last = entries.begin() + static_cast<std::ptrdiff_t>(run.last);
    if (run.offset == namekeys::kChunk) {
      constexpr std::ptrdiff_t ahead = 16;
      for (auto it = first; it != last; ++it) {
        if (last - it > ahead) __builtin_prefetch(&second[(it + ahead)->index]);
        it->key = second[it->index];
      }
    } else if (run.offset > 0) {
      // The names of a run lie all over the heap: ask for them a few entries ahead.
      constexpr std::ptrdiff_t ahead = 8;
      for (auto it = first; it != last; ++it) {
        if (last - it > 2 * ahead) {
          prefetchNameOf(stations[(it + 2 * ahead)->index]);
          __builtin_prefetch(stations[(it + ahead)->index].station.data() + run.offset);
        }
        it->key = namekeys::chunkKey(stations[it->index].station, run.offset);
      }
    }
    namekeys::sortByKeyBytes(
        first, last, [](const SortEntry& e) { return e.key; },
        [](const SortEntry& a, const SortEntry& b) { return a.key < b.key; });
    for (std::size_t i = run.first; i < run.last;) {
      std::size_t j = i + 1;
      while (j < run.last && entries[j].key == entries[i].key)
        ++j;
      if (j - i > 1 && namekeys::tieGoesOn(entries[i].key)) {
        runs.push_back({i, j, run.offset + namekeys::kChunk});
      }
      i = j;
    }
  }
}

// Moves each station of [lo, hi) to its place dest[k], also in [lo, hi), keeping dest[k] with
// it. Following the permutation's cycles directly would wait for a cache miss at every step,
// so a large range is first spread into up to 2048 consecutive blocks of places, each station
// swapped into the next free position of its block (a few positions being filled at a time,
// their cache lines stay at hand); then each block, small enough for the cache, follows its
// cycles.
void moveToPlaces(std::vector<elem>& stations, std::vector<std::uint32_t>& dest, std::size_t lo,
                  std::size_t hi) {
  constexpr std::size_t small = 1024;
  constexpr int blockBits = 11;
  if (hi - lo <= small) {
    for (std::size_t k = lo; k < hi; ++k) {
      while (dest[k] != k) {
        const std::size_t to = dest[k];
        std::swap(stations[k], stations[to]);
        std::swap(dest[k], dest[to]);
      }
    }
    return;
  }
  const int shift = std::max(0, static_cast<int>(std::bit_width(hi - lo - 1)) - blockBits);
  const std::size_t blocks = ((hi - lo - 1) >> shift) + 1;
  const auto blockOf = [&](std::uint32_t place) { return (place - lo) >> shift; };
  std::vector<std::size_t> next(blocks);
  for (std::size_t b = 0; b < blocks; ++b)
    next[b] = lo + (b << shift);
  for (std::size_t b = 0; b < blocks; ++b) {
    const std::size_t end = std::min(hi, lo + ((b + 1) << shift));
    while (next[b] < end) {
      std::size_t d = blockOf(dest[next[b]]);
      if (d == b) {
        ++next[b];
        continue;
      }
      elem moving = std::move(stations[next[b]]);
      std::uint32_t movingDest = dest[next[b]];
      do {
        const std::size_t at = next[d]++;
        const char* const later =
            reinterpret_cast<const char*>(&stations[std::min(at + 6, hi - 1)]);
        __builtin_prefetch(later);
        __builtin_prefetch(later + sizeof(elem) - 1);
        __builtin_prefetch(&dest[std::min(at + 32, hi - 1)]);
        std::swap(moving, stations[at]);
        std::swap(movingDest, dest[at]);
        d = blockOf(movingDest);
      } while (d != b);
      stations[next[b]] = std::move(moving);
      dest[next[b]++] = movingDest;
    }
  }
  for (std::size_t b = 0; b < blocks; ++b) {
    moveToPlaces(stations, dest, lo + (b << shift), std::min(hi, lo + ((b + 1) << shift)));
  }
}

}  // namespace

void TimeTable::sortStations() {
  // Sorting small entries by integer keys and then moving the stations into their places is
  // much cheaper than sorting the stations themselves with string comparisons. Stations of
  // equal name end up next to each other, in no fixed order.
  std::vector<SortEntry> entries(stations.size());
  std::vector<std::uint64_t> second(stations.size());
  for (std::size_t i = 0; i < stations.size(); ++i) {
    entries[i] = {namekeys::chunkKey(stations[i].station, 0), static_cast<std::uint32_t>(i)};
    second[i] = namekeys::chunkKey(stations[i].station, namekeys::kChunk);
  }
  sortByName(entries, stations, second);
  std::vector<std::uint64_t>().swap(second);
  // dest[k]: the place of the station now at k.
  std::vector<std::uint32_t> dest(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i)
    dest[entries[i].index] = static_cast<std::uint32_t>(i);
  std::vector<SortEntry>().swap(entries);  // `= {}` would keep the capacity
  moveToPlaces(stations, dest, 0, stations.size());
  std::vector<std::uint32_t>().swap(dest);
  assert(std::is_sorted(stations.begin(), stations.end(), compStationNames));
  keys.reserve(stations.size());
  constexpr std::size_t ahead = 16;
  for (std::size_t i = 0; i < stations.size(); ++i) {
    if (i + ahead < stations.size()) __builtin_prefetch(stations[i + ahead].station.data());
    keys.push_back(namekeys::prefixKey(stations[i].station));
  }
}

void TimeTable::matchUpdates(const char* filename) {
  InputFile in = InputFile::open(filename);
  if (!in) return;  // no update list: every station stays unseen
  LineReader reader(in.file.get());
  std::string_view line, name;
  std::string scratch;
  UpdateBatch batch;
  while (reader.next(line)) {
    if (!stationtext::parseUpdateLine(line, scratch, name)) continue;
    batch.add(name);
    if (batch.full()) matchBatch(batch);
  }
  matchBatch(batch);
  if (reader.error() != 0) out.failRead(filename, reader.error());
}

void TimeTable::UpdateBatch::add(std::string_view name) {
  names.push_back({namekeys::prefixKey(name), bytes.size(), name.size()});
  bytes.append(name);
}

void TimeTable::matchBatch(UpdateBatch& batch) {
  // The names are searched in the order of their keys, which is name order but for ties:
  // then each search reads mostly what the one before it has just brought into the cache,
  // instead of its own path through the whole register.
  // The order in which names are matched does not show: marking is idempotent and the new
  // names form a set.
  const auto text = [&](const UpdateBatch::Name& n) {
    return std::string_view(batch.bytes).substr(n.offset, n.length);
  };
  const auto byKey = [](const UpdateBatch::Name& a, const UpdateBatch::Name& b) {
    return a.key < b.key;
  };
  namekeys::sortByKeyBytes(
      batch.names.begin(), batch.names.end(),
      [](const UpdateBatch::Name& n) { return n.key.first; }, byKey);
  // The shared levels of the search rely on this order.
  assert(std::is_sorted(batch.names.begin(), batch.names.end(), byKey));
  auto hint = newstations.end();
  for (std::size_t group = 0; group < batch.names.size(); group += kLanes) {
    const std::size_t lanes = std::min(kLanes, batch.names.size() - group);
    std::array<std::size_t, kLanes> found;
    findStations(&batch.names[group], lanes, batch.bytes, found.data());
    for (std::size_t g = 0; g < lanes; ++g) {
      if (found[g] < stations.size()) {
        stations[found[g]].state = true;
      } else {
        hint = newstations.emplace_hint(hint, text(batch.names[group + g]));
        ++hint;  // the next new name of the batch sorts after this one
      }
    }
  }
  batch.names.clear();
  batch.bytes.clear();
}

void TimeTable::findStations(const UpdateBatch::Name* names, std::size_t lanes,
                             const std::string& bytes, std::size_t* found) const {
  // One binary search per name for the first station whose name does not sort before it: keys
  // decide, and only a station whose key ties with the name's is compared by its bytes. The
  // searches of a group advance side by side, one level at a time, and ask for the memory of
  // their next level ahead, so that the reads of one search overlap those of the others.
  std::array<std::size_t, kLanes> base{};
  const auto text = [&](std::size_t g) {
    return std::string_view(bytes).substr(names[g].offset, names[g].length);
  };
  const auto before = [&](std::size_t at, std::size_t g) {
    return keys[at] < names[g].key ||
           (keys[at] == names[g].key && namekeys::tieGoesOn(names[g].key) &&
            std::string_view(stations[at].station) < text(g));
  };
  if (stations.empty()) {
    std::fill(found, found + lanes, 0);
    return;
  }
  // A name tying with a station is compared from its bytes: ask for those of the group now.
  for (std::size_t g = 0; g < lanes; ++g) {
    if (namekeys::tieGoesOn(names[g].key)) {
      __builtin_prefetch(bytes.data() + names[g].offset);
      __builtin_prefetch(bytes.data() + names[g].offset +
                         std::min<std::size_t>(31, names[g].length));
    }
  }
  // The names of a group come in the order of their keys. While the station at a level has a
  // key below the first name's or above the last name's, every name of the group takes the
  // same turn there, and the level needs no comparison of its own for each of them.
  std::size_t span = stations.size();
  std::size_t shared = 0;
  while (span > 1) {
    const std::size_t half = span / 2;
    const namekeys::PrefixKey& probe = keys[shared + half];
    if (probe < names[0].key) {
      shared += half;
    } else if (!(names[lanes - 1].key < probe)) {
      break;
    }
    span -= half;
  }
  base.fill(shared);
  // How the probed station's key stands to each name's: below it, or tied so that the bytes
  // must decide (then the station's name is asked for), or neither.
  enum : std::uint8_t { keyAbove, keyBelow, bytesDecide };
  std::array<std::uint8_t, kLanes> standing{};
  while (span > 1) {
    const std::size_t half = span / 2;
    for (std::size_t g = 0; g < lanes; ++g) {
      const std::size_t at = base[g] + half;
      const namekeys::PrefixKey& key = keys[at];
      const namekeys::PrefixKey& name = names[g].key;
      const bool firstEqual = key.first == name.first;
      const bool below = (key.first < name.first) | (firstEqual & (key.second < name.second));
      const bool tied = firstEqual & (key.second == name.second) & namekeys::tieGoesOn(name);
      standing[g] = below ? keyBelow : tied ? bytesDecide : keyAbove;
      if (tied) {
        // The comparison reads the name's first 32 bytes or so, often across two lines.
        const std::string_view station(stations[at].station);
        __builtin_prefetch(station.data());
        __builtin_prefetch(station.data() + std::min<std::size_t>(31, station.size()));
      }
    }
    const std::size_t next = (span - half) / 2;
    for (std::size_t g = 0; g < lanes; ++g) {
      const bool goes =
          standing[g] == keyBelow || (standing[g] == bytesDecide &&
                                      std::string_view(stations[base[g] + half].station) < text(g));
      base[g] += goes ? half : 0;
      __builtin_prefetch(&keys[base[g] + next]);
      prefetchNameOf(stations[base[g] + next]);
    }
    span -= half;
  }
  for (std::size_t g = 0; g < lanes; ++g) {
    std::size_t at = base[g];
    if (before(at, g)) ++at;
    const bool match =
        at < keys.size() && keys[at] == names[g].key &&
        (!namekeys::tieGoesOn(names[g].key) || std::string_view(stations[at].station) == text(g));
    found[g] = match ? at : stations.size();
  }
}

void TimeTable::printNotUsed() {
  const ArenaScope scope(arena);
  // The search is over; the report's copies may have the room (`= {}` would keep it).
  std::vector<namekeys::PrefixKey>().swap(keys);
  out.put("Eltunt allomasok: ").endLine();
  notused.reserve(notused.size() +
                  static_cast<std::size_t>(std::count_if(stations.begin(), stations.end(),
                                                         [](const elem& e) { return !e.state; })));
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
