// The name rule against a plain reference, at every position where the word-at-a-time check
// could slip. (Numbers, and the blank scans of the word census, are checked against the literal
// reference by the fuzz targets and the census test.)
#include "text_format.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

// The name rule spelled out: the tokens, joined by single spaces.
std::string joinedPlainly(std::string_view text) {
  std::string name;
  std::size_t pos = 0;
  for (std::string_view token; !(token = stationtext::nextToken(text, pos)).empty();) {
    if (!name.empty()) name += ' ';
    name += token;
  }
  return name;
}

TEST(JoinTokens, AnyByteAtAnyPositionOfNamesUpTo40Bytes) {
  // Each blank, and bytes next to the blanks in value, alone or doubled at every position.
  const std::string bytes(" \t\n\v\f\r\x1f\x21\x00\x80\xff", 11);
  for (std::size_t length = 0; length <= 40; ++length) {
    std::string base;
    for (std::size_t i = 0; i < length; ++i)
      base.push_back(static_cast<char>('a' + i % 26));
    for (std::size_t pos = 0; pos < length; ++pos) {
      for (const char c : bytes) {
        for (std::size_t run = 1; run <= 2 && pos + run <= length; ++run) {
          std::string text = base;
          text.replace(pos, run, run, c);
          std::string scratch = "stale";
          EXPECT_EQ(joinedPlainly(text), stationtext::joinTokens(text, scratch))
              << "length " << length << ", byte " << int(c) << " x" << run << " at " << pos;
        }
      }
    }
  }
}

}  // namespace
