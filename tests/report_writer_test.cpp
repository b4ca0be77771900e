// Unit tests of the report writer: exact bytes, and write failures turned into status 1.
#include "report_writer.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using stationtext::ReportWriter;
using namespace std::string_literals;

namespace {

std::string contents(std::FILE* file) {
  std::rewind(file);
  std::string bytes;
  char chunk[4096];
  while (std::size_t got = std::fread(chunk, 1, sizeof chunk, file))
    bytes.append(chunk, got);
  return bytes;
}

}  // namespace

TEST(ReportWriter, WritesExactBytes) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(nullptr, file);
  {
    ReportWriter out(file, "test");
    out.put("Not used: ").endLine();
    out.put(std::int32_t{-2147483647 - 1}).put(" ").put(std::string("A\0B", 3)).endLine();
    out.put(std::uint64_t{18446744073709551615u}).endLine();
    EXPECT_EQ(0, out.finish());
  }
  EXPECT_EQ("Not used: \n-2147483648 A\0B\n18446744073709551615\n"s, contents(file));
  std::fclose(file);
}

TEST(ReportWriter, LargeReportIsWrittenWhole) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(nullptr, file);
  std::string expected;
  {
    ReportWriter out(file, "test");
    for (int i = 0; i < 100000; ++i) {
      out.put(std::int32_t{i}).put(" station").endLine();
      expected += std::to_string(i) + " station\n";
    }
    EXPECT_EQ(0, out.finish());
  }
  EXPECT_EQ(expected, contents(file));
  std::fclose(file);
}

TEST(ReportWriter, FullDeviceFailsTheRun) {
  std::FILE* file = std::fopen("/dev/full", "w");
  ASSERT_NE(nullptr, file);
  ReportWriter out(file, "test");
  out.put("Eltunt allomasok: ").endLine();
  EXPECT_EQ(1, out.finish());
  EXPECT_FALSE(out.ok());
  std::fclose(file);
}
