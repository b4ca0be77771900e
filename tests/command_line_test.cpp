// Reading the arguments: what each asks for, where the values go and what is said, for the
// orders and forms that the end-to-end cases do not each try.
#include "command_line.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

TEST(ReadArguments, TakesOptionsInOrderAndSaysWhatItDoesNotTake) {
  const struct {
    std::vector<const char*> args;
    stationtext::Asked asked;
    const char* reg;  // the register's value afterwards
    const char* upd;  // the update list's
    bool strict;
    std::string err;
  } rows[] = {
      {{}, stationtext::Asked::run, "r", "u", false, ""},
      {{"--register=a", "--register", "b"}, stationtext::Asked::run, "b", "u", false, ""},
      {{"--updates", "--strict"}, stationtext::Asked::run, "r", "--strict", false, ""},
      {{"--register=", "--help"},
       stationtext::Asked::usageError,
       "r",
       "u",
       false,
       "p: option needs a value: --register=: see --help\n"},
      {{"--help", "--hlep"}, stationtext::Asked::help, "r", "u", false, ""},
      {{"--hlep", "--help"},
       stationtext::Asked::usageError,
       "r",
       "u",
       false,
       "p: unknown option: --hlep: see --help\n"},
      {{"--reg=a"},
       stationtext::Asked::usageError,
       "r",
       "u",
       false,
       "p: unknown option: --reg=a: see --help\n"},
      {{"-h", "--version"}, stationtext::Asked::help, "r", "u", false, ""},
      {{"--register=-", "--register=x", "--updates=-"},
       stationtext::Asked::run,
       "x",
       "-",
       false,
       ""},
      {{"--strict", "a", "--", "--updates=c", "d"},
       stationtext::Asked::run,
       "r",
       "u",
       true,
       "p: ignored argument: a: to read it as the register, use --register=a\n"
       "p: ignored argument: --updates=c: to read it as the update list, use "
       "--updates=--updates=c\n"
       "p: ignored argument: d: to read it as the update list, use --updates=d\n"},
  };
  for (const auto& row : rows) {
    std::vector<const char*> argv{"p"};
    argv.insert(argv.end(), row.args.begin(), row.args.end());
    SCOPED_TRACE(testing::Message() << argv.size() - 1 << " arguments, first "
                                    << (row.args.empty() ? "none" : row.args[0]));
    const char* reg = "r";
    const char* upd = "u";
    bool strict = false;
    const stationtext::Option table[] = {{"register", &reg, "the register"},
                                         {"updates", &upd, "the update list"},
                                         {"strict", &strict}};
    stationtext::ReportWriter out(stdout, "p");
    testing::internal::CaptureStderr();
    EXPECT_EQ(row.asked,
              stationtext::readArguments(static_cast<int>(argv.size()), argv.data(), table, out));
    EXPECT_EQ(row.err, testing::internal::GetCapturedStderr());
    EXPECT_EQ(std::string(row.reg), reg);
    EXPECT_EQ(std::string(row.upd), upd);
    EXPECT_EQ(row.strict, strict);
  }
}

}  // namespace
