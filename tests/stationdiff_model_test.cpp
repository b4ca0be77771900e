// Runs the two-file register on a large random register and update list and compares its
// report with the plain algorithm: std::sort by compStationNames and one std::lower_bound per
// update name. The data reaches what the end-to-end cases and the fuzz targets cannot: many
// names that tie on their first 7, 14 or 21 bytes, NUL and 0xff bytes, duplicates, and more
// update names than one match batch holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "time_table.hpp"

namespace {

// Names that share long prefixes, so that keys tie at every chunk boundary.
std::string randomName(std::mt19937& random) {
  static const std::string letters("ab\0\xff", 4);
  std::string name(7 * (random() % 4) + random() % 2, 'a');
  for (std::size_t extra = random() % 4; extra > 0; --extra) {
    name.push_back(letters[random() % letters.size()]);
  }
  return name;
}

}  // namespace

TEST(StationdiffModel, LargeRandomRegisterMatchesPlainSearch) {
  std::mt19937 random(20261206);
  std::vector<std::string> pool(3000);
  for (std::string& name : pool)
    name = randomName(random);
  const std::size_t count = 20000;
  std::vector<std::pair<std::int32_t, std::string>> records;
  std::string registerText = std::to_string(count) + "\n";
  for (std::size_t i = 0; i < count; ++i) {
    records.emplace_back(static_cast<std::int32_t>(random() % 5000) - 100, pool[random() % 1000]);
    registerText += std::to_string(records.back().first) + " " + records.back().second + "\n";
  }
  std::string updateText;
  std::vector<std::string> updates;
  for (std::size_t i = 0; i < 300000; ++i) {
    updates.push_back(pool[random() % pool.size()]);
    updateText += "  " + updates.back() + "\n";  // the blanks make every line long enough
  }

  // The plain algorithm, on the same names.
  NameArena arena;
  const ArenaScope scope(arena);
  std::vector<elem> plain;
  for (const auto& [id, name] : records)
    plain.emplace_back(id, StationName(name), false);
  std::sort(plain.begin(), plain.end(), compStationNames);
  std::set<std::string> expectedNew;
  for (const std::string& name : updates) {
    const elem probe(0, StationName(name), false);
    const auto found = std::lower_bound(plain.begin(), plain.end(), probe, compStationNames);
    if (found != plain.end() && found->station == probe.station) {
      found->state = true;
    } else {
      expectedNew.insert(name);
    }
  }
  std::multiset<std::pair<std::int32_t, std::string>> expectedUnseen;
  for (const elem& e : plain) {
    if (!e.state) expectedUnseen.emplace(e.id, std::string(e.station));
  }

  const auto scratch = std::filesystem::temp_directory_path() / "stationdiff-model-test";
  std::filesystem::create_directories(scratch);
  const auto home = std::filesystem::current_path();
  std::filesystem::current_path(scratch);
  std::ofstream("bemenet.txt", std::ios::binary) << registerText;
  std::ofstream("frissites.txt", std::ios::binary) << updateText;
  std::FILE* report = std::tmpfile();
  {
    stationtext::ReportWriter out(report, "test");
    TimeTable table(out);
    table.printNotUsed();
    table.printNewStations();
    ASSERT_EQ(0, out.finish());
  }
  std::filesystem::current_path(home);
  std::filesystem::remove_all(scratch);

  std::rewind(report);
  std::string text;
  for (int c; (c = std::fgetc(report)) != EOF;)
    text.push_back(static_cast<char>(c));
  std::fclose(report);
  std::istringstream lines(text);
  std::string line;
  ASSERT_TRUE(std::getline(lines, line) && line == "Eltunt allomasok: ");
  std::multiset<std::pair<std::int32_t, std::string>> unseen;
  std::int32_t previous = INT32_MIN;
  while (std::getline(lines, line) && !line.empty()) {
    const std::size_t space = line.find(' ');
    const std::int32_t id = std::stoi(line.substr(0, space));
    EXPECT_LE(previous, id);
    previous = id;
    unseen.emplace(id, line.substr(space + 1));
  }
  // Which record of a repeated name is marked is open, so compare names only where ids may
  // differ: the multiset of names must agree, and every reported pair must be a record.
  const auto names = [](const auto& pairs) {
    std::multiset<std::string> out;
    for (const auto& pair : pairs)
      out.insert(pair.second);
    return out;
  };
  EXPECT_EQ(names(expectedUnseen), names(unseen));
  const std::multiset<std::pair<std::int32_t, std::string>> all(records.begin(), records.end());
  for (const auto& pair : unseen)
    EXPECT_TRUE(all.count(pair) > 0) << pair.first;
  ASSERT_TRUE(std::getline(lines, line) && line == "Uj allomasok: ");
  std::set<std::string> reportedNew;
  while (std::getline(lines, line))
    EXPECT_TRUE(reportedNew.insert(line).second);
  EXPECT_EQ(expectedNew, reportedNew);
}
