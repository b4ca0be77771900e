// Unit tests of the line readers: station lines, update lines, the count line and splitting.
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
struct TempInput {
  FilePtr file{std::tmpfile()};
  explicit TempInput(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
  }
};

std::vector<std::string> splitLines(const std::string& bytes, std::size_t blocksize) {
  TempInput in(bytes);
  LineReader reader(in.file.get(), blocksize);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.next(line))
    lines.emplace_back(line);
  EXPECT_EQ(0, reader.error());
  return lines;
}

CountLine countOf(const std::string& bytes) {
  TempInput in(bytes);
  LineReader reader(in.file.get());
  return readCountLine(reader);
}

}  // namespace

TEST(ParseStationLine, CodesAndNames) {
  struct Row {
    std::string line;
    std::int32_t code;
    std::string name;
  };
  const Row rows[] = {
      {"5 Alpha", 5, "Alpha"},
      {"  5 Alpha", 5, "Alpha"},
      {"5\tAlpha", 5, "Alpha"},
      {"5 Alpha  ", 5, "Alpha"},
      {"5 Alpha\r", 5, "Alpha"},
      {"17   North    Gate", 17, "North Gate"},
      {"\x0b"
       "1\x0c"
       "a\x0b\t b",
       1, "a b"},
      {"-3 Alpha Beta", -3, "Alpha Beta"},
      {"007 Alpha", 7, "Alpha"},
      {"+7 Alpha", 7, "Alpha"},
      {"-0 Zero", 0, "Zero"},
      {"12abc Foo", 12, "abc Foo"},
      {"12-3 x", 12, "-3 x"},
      {"42", 42, ""},
      {"2147483647 Max", kMax, "Max"},
      {"-2147483648 Min", kMin, "Min"},
      {"0000000000000000000000012 Pad", 12, "Pad"},
      {"\xc3\x81rok 1", 0, ""},
      {"1 A\0B \xff"s, 1, "A\0B \xff"s},
  };
  for (const Row& row : rows) {
    const StationFields fields = parseStationLine(row.line);
    EXPECT_EQ(row.code, fields.code) << row.line;
    EXPECT_EQ(row.name, fields.name) << row.line;
  }
}

TEST(ParseStationLine, NoNumberGivesCodeZeroAndEmptyName) {
  for (const std::string line : {"abc Foo", "+ 5 Plus", "-", "--5 x", "", "   \t\r", "x1 2"}) {
    const StationFields fields = parseStationLine(line);
    EXPECT_EQ(0, fields.code) << line;
    EXPECT_EQ("", fields.name) << line;
  }
}

TEST(ParseStationLine, OutOfRangeCodeIsClampedAndNameEmpty) {
  struct Row {
    std::string line;
    std::int32_t code;
  };
  const Row rows[] = {
      {"2147483648 Big", kMax},
      {"-2147483649 Small", kMin},
      {"99999999999999999999999999999999 Huge", kMax},
      {"-99999999999999999999999999999999 Huge", kMin},
      {"+4294967296 Wrap", kMax},
  };
  for (const Row& row : rows) {
    const StationFields fields = parseStationLine(row.line);
    EXPECT_EQ(row.code, fields.code) << row.line;
    EXPECT_EQ("", fields.name) << row.line;
  }
}

TEST(ParseUpdateLine, ShortLinesAreSkipped) {
  std::string name = "untouched";
  for (const std::string line : {"", "X", "\r", " "}) {
    EXPECT_FALSE(parseUpdateLine(line, name)) << line;
  }
}

TEST(ParseUpdateLine, Names) {
  struct Row {
    std::string line;
    std::string name;
  };
  const Row rows[] = {
      {"X\r", "X"},
      {"  ", ""},
      {" \t\r", ""},
      {"North  Gate", "North Gate"},
      {"\tNorth Gate \r", "North Gate"},
      {"12 Alpha", "12 Alpha"},
      {"\xef\xbb\xbf"
       "Alpha",
       "\xef\xbb\xbf"
       "Alpha"},
      {"A\0\0B"s, "A\0\0B"s},
  };
  std::string name;
  for (const Row& row : rows) {
    ASSERT_TRUE(parseUpdateLine(row.line, name)) << row.line;
    EXPECT_EQ(row.name, name) << row.line;
  }
}

TEST(ReadCountLine, Counts) {
  struct Row {
    std::string file;
    std::int32_t count;
    bool failed;
  };
  const Row rows[] = {
      {"3\n", 3, false},
      {"3 stations follow\n1 A\n", 3, false},
      {"\n  \n\t 7\n", 7, false},
      {"5", 5, false},
      {"2stations\n", 2, false},
      {"-4\n", -4, false},
      {"+0\n", 0, false},
      {"three\n1 A\n", 0, true},
      {"\xef\xbb\xbf"
       "3\n",
       0, true},
      {"", 0, true},
      {"\r\r\n \n", 0, true},
      {"2147483648\n", kMax, true},
      {"-2147483649\n", kMin, true},
  };
  for (const Row& row : rows) {
    const CountLine count = countOf(row.file);
    EXPECT_EQ(row.count, count.count) << row.file;
    EXPECT_EQ(row.failed, count.failed) << row.file;
  }
}

TEST(ReadCountLine, RestOfTheLineIsDiscarded) {
  TempInput in("  12 words 34\n1 Alpha\n");
  LineReader reader(in.file.get());
  EXPECT_EQ(12, readCountLine(reader).count);
  std::string_view line;
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ("1 Alpha", line);
}

TEST(LineReader, SplitsAtNewlineOnly) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(Lines{}, splitLines("", 16));
  EXPECT_EQ(Lines{""}, splitLines("\n", 16));
  EXPECT_EQ((Lines{"a", "b"}), splitLines("a\nb\n", 16));
  EXPECT_EQ((Lines{"a", "b"}), splitLines("a\nb", 16));
  EXPECT_EQ((Lines{"a\r", "", "b\r"}), splitLines("a\r\n\nb\r\n", 16));
  EXPECT_EQ((Lines{"\r\r\r"}), splitLines("\r\r\r", 16));
  EXPECT_EQ((Lines{"a\0b"s, ""}), splitLines("a\0b\n\n"s, 16));
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

TEST(InputFile, DirectoryCannotBeOpened) {
  const InputFile in = InputFile::open(".");
  EXPECT_FALSE(in);
  EXPECT_EQ(EISDIR, in.error);
  EXPECT_FALSE(InputFile::open("no such file here"));
}
