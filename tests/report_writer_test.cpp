// The report writer's failures, which the end-to-end cases cannot all provoke.
#include "report_writer.hpp"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(ReportWriter, AFailedWriteIsReportedWithItsCauseEvenWhenClosingSucceeds) {
  // A stream open for reading only: every write fails, and closing it does not.
  std::FILE* readOnly = std::fopen("/dev/null", "r");
  ASSERT_NE(nullptr, readOnly);
  stationtext::ReportWriter out(readOnly, "prog");
  out.put("SIZE: ").put(3u).endLine();
  testing::internal::CaptureStderr();
  EXPECT_EQ(1, out.finish());
  EXPECT_EQ("prog: write error: Bad file descriptor\n", testing::internal::GetCapturedStderr());
}

}  // namespace
