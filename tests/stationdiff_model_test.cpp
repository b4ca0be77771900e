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
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "time_table.hpp"

namespace fs = std::filesystem;
using Pairs = std::multiset<std::pair<std::int32_t, std::string>>;

TEST(StationdiffModel, LargeRandomRegisterMatchesPlainSearch) {
  std::mt19937 random(20261206);
  std::vector<std::string> pool(3000);  // names sharing long prefixes: keys tie at every chunk
  for (std::string& name : pool) {
    name.assign(7 * (random() % 4) + random() % 2, 'a');
    for (auto extra = random() % 4; extra > 0; --extra)
      name.push_back("ab\0\xff"[random() % 4]);
  }
  std::ostringstream registerText, updateText;
  std::vector<std::pair<std::int32_t, std::string>> records;
  registerText << 20000 << '\n';
  for (int i = 0; i < 20000; ++i) {
    records.emplace_back(static_cast<std::int32_t>(random() % 5000) - 100, pool[random() % 1000]);
    registerText << records.back().first << ' ' << records.back().second << '\n';
  }
  std::vector<std::string> updates;
  for (int i = 0; i < 300000; ++i) {
    updates.push_back(pool[random() % pool.size()]);
    updateText << "  " << updates.back() << '\n';  // the blanks make every line long enough
  }

  // The plain algorithm, on the same names.
  NameArena arena;
  const ArenaScope scope(arena);
  std::vector<elem> plain;
  for (const auto& [id, name] : records)
    plain.emplace_back(id, StationName(name), false);
  std::sort(plain.begin(), plain.end(), compStationNames);
  std::set<std::string> wantNew;
  for (const std::string& name : updates) {
    const elem probe(0, StationName(name), false);
    const auto found = std::lower_bound(plain.begin(), plain.end(), probe, compStationNames);
    if (found != plain.end() && found->station == probe.station) {
      found->state = true;
    } else {
      wantNew.insert(name);
    }
  }
  std::multiset<std::string> wantUnseen;
  for (const elem& e : plain) {
    if (!e.state) wantUnseen.emplace(e.station);
  }

  const fs::path scratch = fs::temp_directory_path() / "stationdiff-model-test";
  const fs::path home = fs::current_path();
  fs::create_directories(scratch);
  fs::current_path(scratch);
  std::ofstream("bemenet.txt", std::ios::binary) << registerText.str();
  std::ofstream("frissites.txt", std::ios::binary) << updateText.str();
  std::FILE* file = std::tmpfile();
  {
    stationtext::ReportWriter out(file, "test");
    TimeTable table(out);
    table.printNotUsed();
    table.printNewStations();
    ASSERT_EQ(0, out.finish());
  }
  fs::current_path(home);
  fs::remove_all(scratch);
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;)
    text.push_back(static_cast<char>(c));
  std::fclose(file);

  // Which record of a repeated name is marked is open: the unseen names must agree, every
  // reported line must be a record, and ids must ascend.
  std::istringstream report(text);
  std::string line;
  ASSERT_TRUE(std::getline(report, line) && line == "Eltunt allomasok: ");
  const Pairs all(records.begin(), records.end());
  std::multiset<std::string> unseen;
  std::int32_t previous = INT32_MIN;
  while (std::getline(report, line) && !line.empty()) {
    const std::size_t space = line.find(' ');
    const std::int32_t id = std::stoi(line.substr(0, space));
    EXPECT_LE(previous, id);
    EXPECT_TRUE(all.count({id, line.substr(space + 1)}) > 0) << line;
    previous = id;
    unseen.insert(line.substr(space + 1));
  }
  EXPECT_EQ(wantUnseen, unseen);
  ASSERT_TRUE(std::getline(report, line) && line == "Uj allomasok: ");
  std::set<std::string> reportedNew;
  while (std::getline(report, line))
    EXPECT_TRUE(reportedNew.insert(line).second);
  EXPECT_EQ(wantNew, reportedNew);
}
