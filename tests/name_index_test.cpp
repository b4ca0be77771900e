// The two-file register's name index against the plain algorithms it stands for: its sort
// against std::sort with compStationNames, its batched search against std::lower_bound.
#include "stationdiff/name_index.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "name_arena.hpp"
#include "stationdiff/time_table.hpp"

namespace {

using stationdiff::compStationNames;
using stationdiff::elem;

// Names as the index meets them: sharing their first 7, 14 or more bytes (its key chunks),
// prefixes of each other, the empty name, bytes above 0x7f, and names spread over several
// first letters.
std::string randomName(std::mt19937& random) {
  static const char* const stems[] = {"",
                                      "Q",
                                      "Station",
                                      "Station Road",
                                      "Station Road N",
                                      "Station Road Number 1",
                                      "aaaaaaaaaaaaaaaaaaaaa",
                                      "\xc3\x81rok",
                                      "W"};
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

TEST(NameIndex, SortsAsStdSortWould) {
  // Sizes across the key sort's small-range cut-off and the placing's block distribution.
  for (const std::size_t size : {0, 1, 63, 65, 1000, 1025, 5000, 40000}) {
    SCOPED_TRACE(size);
    std::mt19937 random(static_cast<unsigned>(size));
    stationtext::NameArena arena;
    std::vector<elem> stations = randomRegister(size, random, arena);
    std::vector<elem> expected = stations;
    std::sort(expected.begin(), expected.end(), compStationNames);
    stationdiff::NameIndex index;
    index.sortStations(stations);
    ASSERT_EQ(expected.size(), stations.size());
    for (std::size_t i = 0; i < size; ++i)
      ASSERT_EQ(expected[i].station, stations[i].station) << i;
    // Records of one name may come in any order, but each record exactly once.
    const auto byNameAndId = [](const elem& a, const elem& b) {
      return a.station != b.station ? a.station < b.station : a.id < b.id;
    };
    std::sort(expected.begin(), expected.end(), byNameAndId);
    std::sort(stations.begin(), stations.end(), byNameAndId);
    for (std::size_t i = 0; i < size; ++i)
      ASSERT_EQ(expected[i].id, stations[i].id) << i;
  }
}

TEST(NameIndex, FindsTheFirstStationOfEachName) {
  for (const std::size_t size : {0, 1, 2, 300, 5000}) {
    std::mt19937 random(static_cast<unsigned>(size) + 1);
    stationtext::NameArena arena;
    std::vector<elem> stations = randomRegister(size, random, arena);
    stationdiff::NameIndex index;
    index.sortStations(stations);
    // Batches of one name, of a lane count and one more, and one of many groups; each batch
    // holds names of the register and others like them, the empty name, and names that sort
    // before and after every station.
    for (const std::size_t batch : {1, 32, 33, 3000}) {
      SCOPED_TRACE(testing::Message() << size << " stations, a batch of " << batch);
      std::vector<std::string> names;
      for (std::size_t i = 0; i < batch; ++i) {
        const int kind = static_cast<int>(random() % 6);
        names.push_back(kind == 0   ? ""
                        : kind == 1 ? "\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff"
                        : kind == 2 && size > 0 ? std::string(stations[random() % size].station)
                                                : randomName(random));
      }
      std::vector<std::string> answered;
      for (const std::string& name : names)
        index.add(name);
      index.matchBatch([&](std::string_view name, std::size_t at) {
        const auto first = std::lower_bound(stations.begin(), stations.end(), elem{0, name, false},
                                            compStationNames);
        const bool there = first != stations.end() && first->station == name;
        EXPECT_EQ(there ? static_cast<std::size_t>(first - stations.begin()) : size, at) << name;
        answered.emplace_back(name);
      });
      std::sort(names.begin(), names.end());
      std::sort(answered.begin(), answered.end());
      EXPECT_EQ(names, answered) << "each name of the batch answered once";
    }
  }
}

}  // namespace
