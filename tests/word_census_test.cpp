// The word census against std::set and the stream's >>, on texts made to cross the reader's
// block boundaries: runs of blanks, a word longer than a block, many words per block.
#include "stationdiff/word_census.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>

namespace {

using stationtext::LineReader;

std::size_t distinctWords(const std::string& text) {
  std::istringstream in(text);
  std::set<std::string> words;
  for (std::string word; in >> word;)
    words.insert(word);
  return words.size();
}

// Words of one to twenty bytes, some of them repeated, with bytes that lie next to the blanks
// in value or differ from them only in their top bit, between runs of blanks of every kind.
std::string randomText(std::size_t bytes, std::mt19937& random) {
  static const std::string wordBytes("ab\x08\x0e\x1f!\x00\x80\x89\x8d\xa0\xff", 12);
  static const std::string blanks = " \t\n\v\f\r";
  std::string text;
  while (text.size() < bytes) {
    for (std::size_t n = 1 + random() % 20; n > 0; --n)
      text.push_back(wordBytes[random() % (random() % 3 == 0 ? wordBytes.size() : 2)]);
    for (std::size_t n = 1 + random() % 3 * (random() % 40); n > 0; --n)
      text.push_back(blanks[random() % blanks.size()]);
  }
  return text;
}

TEST(WordCensus, CountsAsTheStreamDoes) {
  std::mt19937 random(11);
  const std::size_t block = LineReader::kBlock;
  const struct {
    const char* what;
    std::string text;
  } rows[] = {
      {"empty", ""},
      {"blanks only, longer than a block", std::string(block + 3, '\n') + std::string(9, ' ')},
      {"one word longer than a block", std::string(block + 5, 'w')},
      {"a word longer than a block, then the words read with its end",
       std::string(block + 5, 'w') + " tail\tw\n" + randomText(block / 2, random)},
      {"one word after a block of blanks, no blank after it",
       std::string(block - 1, '\n') + "straddling"},
      {"words and blanks across several blocks", randomText(3 * block, random)},
  };
  const auto path =
      std::filesystem::temp_directory_path() / ("stationdiff-census-" + std::to_string(getpid()));
  // The reader's smallest block crosses a boundary inside nearly every word and blank run.
  for (const std::size_t blocksize : {std::size_t{16}, block}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(testing::Message() << row.what << ", blocks of " << blocksize);
      std::ofstream(path, std::ios::binary) << row.text;
      std::size_t count = 99;
      EXPECT_EQ(stationtext::ReadOutcome::complete,
                stationdiff::countDistinctWords(path.c_str(), count, blocksize).kind);
      EXPECT_EQ(distinctWords(row.text), count);
    }
  }
  std::filesystem::remove(path);
}

}  // namespace
