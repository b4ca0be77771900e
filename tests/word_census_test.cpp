// The word census's set against std::set, across several growths of its table.
#include "word_census.hpp"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

namespace {

TEST(WordSet, AgreesWithStdSet) {
  // 40,000 distinct words at most grow the table from 1,024 slots seven times; words repeat,
  // share their first eight bytes, and differ only in their last byte.
  std::mt19937 random(11);
  stationdiff::WordSet words;
  std::set<std::string> reference;
  for (int i = 0; i < 120000; ++i) {
    std::string word = random() % 2 ? "Budapest" : "";
    word += std::to_string(random() % 40000);
    if (random() % 4 == 0) word.push_back('\xff');
    ASSERT_EQ(reference.insert(word).second, words.insert(word)) << word;
  }
  EXPECT_EQ(reference.size(), words.size());
}

}  // namespace
