// The report writer's blocks and failures, and a run that runs out of memory: what the
// end-to-end cases cannot all provoke.
#include "report_writer.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

TEST(ReportWriter, WritesEveryBlockOnceAndFinishesOnce) {
  // More than three blocks of lines, of numbers of every width and sign.
  std::string expected;
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* memory = open_memstream(&text, &size);
  ASSERT_NE(nullptr, memory);
  stationtext::ReportWriter out(memory, "prog");
  for (long long n = -1; expected.size() < 3 * stationtext::ReportWriter::kBlock + 100; n *= -3) {
    out.put("line ").put(n).endLine();
    expected += "line " + std::to_string(n) + "\n";
    if (n > 1000000000000000) n = -1;
  }
  EXPECT_EQ(0, out.finish());
  EXPECT_EQ(0, out.finish()) << "a second finish neither writes nor closes again";
  EXPECT_EQ(expected, std::string(text, size));
  std::free(text);
}

TEST(ReportWriter, AFailedWriteOrCloseIsAWriteErrorWithItsCause) {
  // A stream open for reading only, where every write fails and closing does not; and one that
  // takes every byte and then fails to close, as a file on a full disk may.
  cookie_io_functions_t failsToClose{};
  failsToClose.write = [](void*, const char*, std::size_t size) {
    return static_cast<ssize_t>(size);
  };
  failsToClose.close = [](void*) {
    errno = ENOSPC;
    return -1;
  };
  const struct {
    std::FILE* stream;
    const char* message;
  } rows[] = {
      {std::fopen("/dev/null", "r"), "prog: write error: Bad file descriptor\n"},
      {fopencookie(nullptr, "w", failsToClose), "prog: write error: No space left on device\n"}};
  for (const auto& row : rows) {
    ASSERT_NE(nullptr, row.stream);
    stationtext::ReportWriter out(row.stream, "prog");
    out.put("SIZE: ").put(3u).endLine();
    testing::internal::CaptureStderr();
    EXPECT_EQ(1, out.finish());
    EXPECT_EQ(row.message, testing::internal::GetCapturedStderr());
  }
}

TEST(ReportWriter, RunningOutOfMemoryEndsTheReportAfterItsLastWholeLine) {
  char* text = nullptr;
  std::size_t size = 0;
  stationtext::ReportWriter out(open_memstream(&text, &size), "prog");
  testing::internal::CaptureStderr();
  out.reading("be.txt");
  out.put("SIZE: ").put(2u).endLine();
  out.put("half a line");
  EXPECT_EQ(1, out.outOfMemory());
  EXPECT_EQ("prog: out of memory: be.txt: " + std::string(std::strerror(ENOMEM)) + "\n",
            testing::internal::GetCapturedStderr());
  EXPECT_EQ("SIZE: 2\n", std::string(text, size));
  std::free(text);
}

}  // namespace
