// What the fuzz corpus and the end-to-end cases cannot reach: a read that fails after a
// successful open. (Lines across many blocks are the line-reader fuzz target's business: it
// reads with blocks of 16 to 63 bytes.)
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "line_reader.hpp"

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
