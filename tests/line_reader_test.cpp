// What the fuzz corpus and the end-to-end cases cannot reach: a read that fails after a
// successful open, and a line far longer than the reader's block.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "station_line.hpp"

using stationtext::FilePtr;
using stationtext::LineReader;

TEST(LineReader, ReadErrorIsNotEndOfFile) {
  // A stream opened for writing only cannot be read: the reader must say so.
  FilePtr file(std::fopen("/dev/null", "w"));
  ASSERT_NE(nullptr, file);
  LineReader reader(file.get());
  std::string_view line;
  EXPECT_FALSE(reader.next(line));
  EXPECT_NE(0, reader.error());
}

TEST(LineReader, LineManyBlocksLong) {
  const std::string longline(100000, 'z');
  FilePtr file(std::tmpfile());
  ASSERT_NE(nullptr, file);
  std::fputs(("a\n" + longline + "\nb").c_str(), file.get());
  std::rewind(file.get());
  LineReader reader(file.get(), 16);
  std::string_view line;
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ("a", line);
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(longline, line);
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ("b", line);
  EXPECT_FALSE(reader.next(line));
  EXPECT_EQ(0, reader.error());
}
