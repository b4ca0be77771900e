// The word census against std::set, on a text whose distinct words grow the census's table
// several times.
#include "stationdiff/word_census.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

namespace {

TEST(WordCensus, CountsAsStdSetDoes) {
  // Up to 40,000 distinct words grow the table from 1,024 slots six times; words repeat, share
  // their first eight bytes or differ only in their last byte, between blanks of every kind,
  // on lines of a hundred words on average, more than the census looks up together.
  std::mt19937 random(11);
  std::set<std::string> reference;
  std::string text;
  for (int i = 0; i < 120000; ++i) {
    std::string word = random() % 2 ? "Budapest" : "";
    word += std::to_string(random() % 40000);
    if (random() % 4 == 0) word.push_back('\xff');
    reference.insert(word);
    text += word + (random() % 100 == 0 ? '\n' : " \t\v\f\r"[random() % 5]);
  }
  const auto path =
      std::filesystem::temp_directory_path() / ("stationdiff-census-" + std::to_string(getpid()));
  std::ofstream(path, std::ios::binary) << text;
  std::size_t count = 0;
  EXPECT_EQ(stationtext::ReadOutcome::complete,
            stationdiff::countDistinctWords(path.c_str(), count).kind);
  EXPECT_EQ(reference.size(), count);
  std::filesystem::remove(path);
}

}  // namespace
