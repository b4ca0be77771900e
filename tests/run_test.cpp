// Both programs run in one process, as the fuzz targets run them: a register that cannot be
// opened comes back to the caller as the exit status instead of ending the process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_harness.hpp"
#include "stationdiff-onefile/time_table.hpp"
#include "stationdiff/time_table.hpp"

namespace {

TEST(Run, RegisterThatCannotBeOpened) {
  using Lines = std::vector<std::string>;
  int status = 0;
  EXPECT_EQ((Lines{"SIZE: 2", "File open error"}),
            harness::run({{"be.txt", "a b a\n"}}, stationdiff::run, status));
  EXPECT_EQ(1, status);
  status = 0;
  EXPECT_EQ(Lines{"File open error"}, harness::run({}, onefile::run, status));
  EXPECT_EQ(1, status);
}

}  // namespace
