// The name rule and the number reading, against plain references, at every position where the
// word-at-a-time checks could slip.
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

TEST(BlankScan, FindsTheFirstTokenByteAndTheFirstBlankAtEveryPosition) {
  // Each byte alone among blanks and among token bytes; the token bytes include those next to
  // the blanks in value and those that differ from a blank only in the top bit.
  const std::string blanks = " \t\n\v\f\r";
  const std::string tokens("\x00\x08\x0e\x1f!\x80\x89\x8d\xa0\xff", 10);
  for (std::size_t length = 1; length <= 24; ++length) {
    for (std::size_t pos = 0; pos < length; ++pos) {
      for (const char blank : blanks) {
        for (const char token : tokens) {
          std::string text(length, blank);
          text[pos] = token;
          const char* const p = text.data();
          EXPECT_EQ(pos, stationtext::skipBlankBytes(p, p + length) - p)
              << "token byte " << int(token) << " at " << pos << " of " << length;
          text.assign(length, token);
          text[pos] = blank;
          EXPECT_EQ(pos, stationtext::findBlankByte(p, p + length) - p)
              << "blank " << int(blank) << " at " << pos << " of " << length;
        }
      }
      const std::string allBlank(length, blanks[pos % blanks.size()]);
      EXPECT_EQ(length, stationtext::skipBlankBytes(allBlank.data(), allBlank.data() + length) -
                            allBlank.data());
    }
  }
}

TEST(ReadNumber, SignsLimitsAndWhereReadingStops) {
  using stationtext::NumberStatus;
  struct Row {
    std::string_view text;
    NumberStatus status;
    std::int32_t value;
    std::size_t end;  // where reading stopped; 0 when nothing was read
  };
  const Row rows[] = {
      {"7", NumberStatus::ok, 7, 1},
      {"+007x", NumberStatus::ok, 7, 4},
      {"-0", NumberStatus::ok, 0, 2},
      {"12abc", NumberStatus::ok, 12, 2},
      {"2147483647", NumberStatus::ok, 2147483647, 10},
      {"-2147483648", NumberStatus::ok, -2147483647 - 1, 11},
      {"2147483648", NumberStatus::overflow, 2147483647, 10},
      {"-2147483649", NumberStatus::overflow, -2147483647 - 1, 11},
      {"-21474836480", NumberStatus::overflow, -2147483647 - 1, 12},
      {"99999999999999999999999", NumberStatus::overflow, 2147483647, 23},
      {"", NumberStatus::missing, 0, 0},
      {"+", NumberStatus::missing, 0, 0},
      {"-x", NumberStatus::missing, 0, 0},
      {"abc", NumberStatus::missing, 0, 0},
  };
  for (const Row& row : rows) {
    std::size_t pos = 0;
    std::int32_t value = 99;
    EXPECT_EQ(row.status, stationtext::readNumber(row.text, pos, value)) << row.text;
    EXPECT_EQ(row.value, value) << row.text;
    EXPECT_EQ(row.end, pos) << row.text;
  }
}

}  // namespace
