// The two-file register's name index against the plain algorithms it stands for: its sort
// against std::sort with compStationNames, its batched search against std::lower_bound.
#include "stationdiff/name_index.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "key_sort.hpp"
#include "name_arena.hpp"
#include "stationdiff/sorted_register.hpp"

namespace {

using stationdiff::compStationNames;
using stationdiff::elem;
using stationdiff::NameIndex;

// Names as the index meets them: sharing their first one, two or three key chunks, prefixes of
// each other, the empty name, bytes above 0x7f (a run of them sorts last and ties on every
// chunk), and names spread over several first letters.
std::string randomName(std::mt19937& random) {
  const std::size_t chunk = stationdiff::namekeys::kChunk;
  static const std::string stems[] = {"",
                                      "Q",
                                      std::string(chunk, 'S'),
                                      std::string(2 * chunk, 'S'),
                                      std::string(3 * chunk, 'a'),
                                      "Station Road N",
                                      "\xc3\x81rok",
                                      std::string(2 * chunk, '\xff')};
  std::string name = stems[random() % std::size(stems)];
  for (std::size_t n = random() % 4; n > 0; --n)
    name.push_back("ab \xff"[random() % 4]);
  if (random() % 8 == 0) name.insert(0, 1, static_cast<char>('A' + random() % 20));
  return name;
}

std::vector<elem> randomRegister(std::size_t size, std::mt19937& random,
                                 stationtext::NameArena& arena) {
  std::vector<elem> stations;
  for (std::size_t i = 0; i < size; ++i)
    stations.push_back({static_cast<std::int32_t>(i), arena.keep(randomName(random)), false});
  return stations;
}

TEST(NameIndex, SortsAndFindsAsStdSortAndBinarySearchWould) {
  // Registers around the key sort's small-range cut-off and past the placing's cached range,
  // where it spreads stations into blocks first; batches of one name, of a lane count and one
  // more, and of more than one batch holds. The names are the register's own and others like
  // them, the empty name, and names that sort before and after every station.
  const std::size_t small = stationdiff::namekeys::detail::kSmallSort;
  const std::size_t batches[] = {1, NameIndex::kLanes, NameIndex::kLanes + 1,
                                 NameIndex::kBatchNames + 1};
  for (const std::size_t size :
       {std::size_t{0}, std::size_t{1}, std::size_t{2}, small - 1, small + 1,
        NameIndex::kCachedPlaces + 1, 40 * NameIndex::kCachedPlaces}) {
    std::mt19937 random(static_cast<unsigned>(size));
    stationtext::NameArena arena;
    std::vector<elem> stations = randomRegister(size, random, arena);
    std::vector<elem> expected = stations;
    std::sort(expected.begin(), expected.end(), compStationNames);
    NameIndex index;
    index.sortStations(stations);
    // Records of one name may come in any order, but each record exactly once: the ids of a
    // name are those of the records the register holds by that name.
    std::vector<std::pair<std::string_view, std::int32_t>> want, got;
    for (std::size_t i = 0; i < size; ++i) {
      ASSERT_EQ(expected[i].station, stations[i].station) << i;
      want.emplace_back(expected[i].station, expected[i].id);
      got.emplace_back(stations[i].station, stations[i].id);
    }
    std::sort(want.begin(), want.end());
    std::sort(got.begin(), got.end());
    EXPECT_EQ(want, got) << size;

    for (const std::size_t batch : batches) {
      if (batch > NameIndex::kBatchNames && size != small + 1) continue;
      SCOPED_TRACE(testing::Message() << size << " stations, " << batch << " names");
      std::vector<std::string> names;
      for (std::size_t i = 0; i < batch; ++i) {
        const int kind = static_cast<int>(random() % 6);
        names.push_back(kind == 0   ? ""
                        : kind == 1 ? std::string(3 * stationdiff::namekeys::kChunk, '\xff')
                        : kind == 2 && size > 0 ? std::string(stations[random() % size].station)
                                                : randomName(random));
      }
      std::vector<std::string> answered;
      std::size_t next = 0;
      index.match(
          [&](std::string_view& name) {
            if (next == names.size()) return false;
            name = names[next++];
            return true;
          },
          [&](std::size_t at) {
            ASSERT_LT(at, size);
            const std::string_view name = stations[at].station;
            EXPECT_TRUE(at == 0 || stations[at - 1].station != name) << "not the first: " << name;
            answered.emplace_back(name);
          },
          [&](std::string_view name) {
            EXPECT_FALSE(std::binary_search(stations.begin(), stations.end(), elem{0, name, false},
                                            compStationNames))
                << name;
            answered.emplace_back(name);
          });
      std::sort(names.begin(), names.end());
      std::sort(answered.begin(), answered.end());
      EXPECT_EQ(names, answered) << "each name answered once for each time it was given";
    }
  }
}

}  // namespace
