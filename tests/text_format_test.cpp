// The blank set (isBlank) through every scan that looks at eight bytes at a time, and the name
// rule against a plain reference built on isBlank. (Numbers are checked against the literal
// reference by the fuzz targets, and here only where a number ends.)
#include "text_format.hpp"

#include <gtest/gtest.h>

#include "line_reader.hpp"

#include <algorithm>
#include <string>
#include <string_view>

namespace {

using stationtext::isBlank;

bool blank(char c) {
  return isBlank(static_cast<unsigned char>(c));
}

// The name rule spelled out: the tokens, joined by single spaces.
std::string joinedPlainly(std::string_view text) {
  std::string name;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (blank(text[i])) continue;
    if (!name.empty() && blank(text[i - 1])) name += ' ';
    name += text[i];
  }
  return name;
}

TEST(BlankScans, FollowIsBlankForEveryByteInEveryLane) {
  // Eight bytes of one value with a byte of any value in any lane: each scan stops where the
  // first byte of its kind is, whichever path it takes.
  for (std::size_t lane = 0; lane < 8; ++lane) {
    for (unsigned fill = 0; fill < 256; ++fill) {
      for (unsigned byte = 0; byte < 256; ++byte) {
        char word[8];
        std::fill(word, word + 8, static_cast<char>(fill));
        word[lane] = static_cast<char>(byte);
        const char* const begin = word;
        const char* const end = word + 8;
        const char* const firstBlank = std::find_if(begin, end, blank);
        const char* const firstToken = std::find_if_not(begin, end, blank);
        ASSERT_EQ(firstBlank, stationtext::findBlankRun(begin, end)) << fill << " " << byte;
        ASSERT_EQ(firstBlank, stationtext::findBlankByte(begin, end)) << fill << " " << byte;
        ASSERT_EQ(firstToken, stationtext::skipBlankRun(begin, end)) << fill << " " << byte;
        ASSERT_EQ(firstToken, stationtext::skipBlankBytes(begin, end)) << fill << " " << byte;
      }
    }
  }
}

TEST(BlankScans, LongTokensEndAtTheirFirstBlank) {
  // A token of every byte that is not a blank, long enough to take the scan for long tokens,
  // with one blank of each kind around the scan's turns and its chunks' ends.
  std::string token;
  for (std::size_t i = 0; token.size() < 10000; ++i) {
    if (!blank(static_cast<char>(i % 256))) token.push_back(static_cast<char>(i % 256));
  }
  const char* const end = token.data() + token.size();
  EXPECT_EQ(end, stationtext::findBlankRun(token.data(), end));
  for (unsigned byte = 0; byte < 256; ++byte) {
    if (!blank(static_cast<char>(byte))) continue;
    for (const std::size_t at : {63, 64, 65, 4095, 4096, 4160, 4161, 8193, 9999}) {
      std::string text = token;
      text[at] = static_cast<char>(byte);
      text[at + 1 < text.size() ? at + 1 : 0] = static_cast<char>(byte);  // a later one too
      ASSERT_EQ(text.data() + (at + 1 < text.size() ? at : 0),
                stationtext::findBlankRun(text.data(), text.data() + text.size()))
          << byte << " at " << at;
    }
  }
}

TEST(JoinTokens, AnyByteAtAnyPosition) {
  // Names of up to 33 bytes, shorter than a word, one, two, the last word overlapping the ones
  // before, and longer: each byte value, alone or doubled, at each position.
  for (std::size_t length = 1; length <= 33; ++length) {
    std::string base;
    for (std::size_t i = 0; i < length; ++i)
      base.push_back(static_cast<char>('a' + i));
    for (std::size_t pos = 0; pos < length; ++pos) {
      for (unsigned byte = 0; byte < 256; ++byte) {
        for (std::size_t run = 1; run <= 2 && pos + run <= length; ++run) {
          std::string text = base;
          text.replace(pos, run, run, static_cast<char>(byte));
          std::string scratch = "stale";
          ASSERT_EQ(joinedPlainly(text), stationtext::joinTokens(text, scratch))
              << "length " << length << ", byte " << byte << " x" << run << " at " << pos;
        }
      }
    }
  }
}

TEST(TextStart, Utf16OnlyWhenItLooksLikeIt) {
  using namespace std::literals;
  using stationtext::TextStart;
  const struct {
    std::string_view text;
    TextStart start;
  } rows[] = {
      {"3\n1 Alpha\n"sv, TextStart::plain},
      {"\xef\xbb\xbf"
       "3\n"sv,
       TextStart::byteOrderMark},
      {"\xff\xfe"
       "3\0\r\0\n\0"sv,
       TextStart::utf16},  // as Windows PowerShell writes
      {"\0"
       "3\0\n\0"
       "1\0 "sv,
       TextStart::utf16},  // big-endian, no mark
      {"\xff\xfe"
       "Alpha\n"sv,
       TextStart::plain},  // Latin-1 letters, then text
      {"A\0"
       "B\n"sv,
       TextStart::plain},                        // a NUL byte in a name
      {"\0\0\0\0\0\0\0\0"sv, TextStart::plain},  // NUL bytes only
      {"A\0"sv, TextStart::plain},               // too little to tell
      {"\xff\xfe"sv, TextStart::plain},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.start, stationtext::textStart(row.text)) << testing::PrintToString(row.text);
}

}  // namespace

TEST(ReadNumber, EndsWhereItsTextEnds) {
  // Each number is the whole view, which the digits of the buffer it lies in go on past: they
  // are not its digits.
  struct Case {
    std::string_view buffer;
    std::size_t length;
    std::int32_t value;
  } const cases[] = {
      {"1234", 2, 12}, {"-98", 2, -9}, {"+77", 2, 7}, {"21474836479", 10, 2147483647}};
  for (const Case& c : cases) {
    const std::string_view text = c.buffer.substr(0, c.length);
    std::size_t pos = 0;
    std::int32_t value = 0;
    EXPECT_EQ(stationtext::NumberStatus::ok, stationtext::readNumber(text, pos, value)) << text;
    EXPECT_EQ(c.value, value) << text;
    EXPECT_EQ(c.length, pos) << text;
  }
}

TEST(ReadNumber, OneSignAtMostThenDigits) {
  for (const std::string_view text : {"--5", "+-5", "-+5", "++5", "+", "-", "x5"}) {
    std::size_t pos = 0;
    std::int32_t value = 1;
    EXPECT_EQ(stationtext::NumberStatus::missing, stationtext::readNumber(text, pos, value))
        << text;
    EXPECT_EQ(0, value) << text;
    EXPECT_EQ(0u, pos) << text;
  }
}
