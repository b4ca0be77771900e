// Unit tests of the line readers: station lines, update lines, the count line and splitting.
// The fuzz target line_readers_fuzz compares the same readers with a stream-based reading on
// arbitrary bytes (and replays its corpus in every build); these tables pin the rules that
// are easiest to get wrong.
#include "station_line.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

using namespace stationtext;
using namespace std::string_literals;

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// A temporary file holding `bytes`, opened for reading.
FilePtr tempInput(const std::string& bytes) {
  FilePtr file(std::tmpfile());
  std::fwrite(bytes.data(), 1, bytes.size(), file.get());
  std::rewind(file.get());
  return file;
}

std::vector<std::string> splitLines(const std::string& bytes, std::size_t blocksize) {
  const FilePtr file = tempInput(bytes);
  LineReader reader(file.get(), blocksize);
  std::vector<std::string> lines;
  for (std::string_view line; reader.next(line);)
    lines.emplace_back(line);
  EXPECT_EQ(0, reader.error());
  return lines;
}

}  // namespace

TEST(ParseStationLine, CodesAndNames) {
  const struct {
    std::string line;
    std::int32_t code;
    std::string name;
  } rows[] = {
      {"17   North    Gate", 17, "North Gate"},
      {"\x0b"
       "1\x0c"
       "a\x0b\t b\r",
       1, "a b"},
      {"-3 Alpha Beta", -3, "Alpha Beta"},
      {"007 Alpha", 7, "Alpha"},
      {"+7 Alpha", 7, "Alpha"},
      {"12abc Foo", 12, "abc Foo"},
      {"42", 42, ""},
      {"1 A\0B \xff"s, 1, "A\0B \xff"s},
      {"abc Foo", 0, ""},
      {"+ 5 Plus", 0, ""},
      {"2147483647 Max", kMax, "Max"},
      {"-2147483648 Min", kMin, "Min"},
      {"2147483648 Big", kMax, ""},
      {"-2147483649 Small", kMin, ""},
      {"99999999999999999999999 Huge", kMax, ""},
  };
  for (const auto& row : rows) {
    const StationFields fields = parseStationLine(row.line);
    EXPECT_EQ(row.code, fields.code) << row.line;
    EXPECT_EQ(row.name, fields.name) << row.line;
  }
}

TEST(ReadCountLine, Counts) {
  const struct {
    std::string file;
    std::int32_t count;
    bool failed;
    std::string next;  // the line after the count line, when the count was read
  } rows[] = {
      {"3 stations follow\n1 A\n", 3, false, "1 A"},
      {"\n  \n\t 7\nx\n", 7, false, "x"},
      {"2stations\n", 2, false, ""},
      {"-4\n", -4, false, ""},
      {"three\n1 A\n", 0, true, ""},
      {"\xef\xbb\xbf"
       "3\n",
       0, true, ""},
      {"\r\r\n \n", 0, true, ""},
      {"2147483648\n", kMax, true, ""},
      {"-2147483649\n", kMin, true, ""},
  };
  for (const auto& row : rows) {
    const FilePtr file = tempInput(row.file);
    LineReader reader(file.get());
    const CountLine count = readCountLine(reader);
    EXPECT_EQ(row.count, count.count) << row.file;
    EXPECT_EQ(row.failed, count.failed) << row.file;
    std::string_view next;
    if (!count.failed) {
      EXPECT_EQ(row.next, reader.next(next) ? std::string(next) : "") << row.file;
    }
  }
}

TEST(LineReader, LinesAcrossBlockBoundaries) {
  // Lines of every length around the block size, so that each possible split point is met.
  std::string bytes;
  std::vector<std::string> expected;
  for (std::size_t length = 0; length < 80; ++length) {
    expected.emplace_back(length, static_cast<char>('a' + length % 26));
    bytes += expected.back() + "\n";
  }
  expected.emplace_back(100000, 'z');  // far longer than a block, and without a newline
  bytes += expected.back();
  for (std::size_t blocksize : {16, 17, 31, 64, 1000}) {
    EXPECT_EQ(expected, splitLines(bytes, blocksize)) << blocksize;
  }
}

TEST(LineReader, ReadErrorIsNotEndOfFile) {
  // A stream opened for writing only cannot be read: the reader must say so.
  FilePtr file(std::fopen("/dev/null", "w"));
  ASSERT_NE(nullptr, file);
  LineReader reader(file.get());
  std::string_view line;
  EXPECT_FALSE(reader.next(line));
  EXPECT_NE(0, reader.error());
}
