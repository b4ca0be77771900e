// Reading a program's arguments: its table of options, the --help, -h and --version of every
// program, usage errors, and the warning for an argument that is no option.
#pragma once

#include <span>
#include <string_view>

#include "report_writer.hpp"

namespace stationtext {

// One line of a program's table of options: the option's name, given as --name, and where
// what it says goes. An option with a value, given as --name=VALUE or --name VALUE, sets a
// string to the value as given; an input's option also says what its file is ("the
// register"), for the warning about an argument that is no option. A flag sets a truth value.
struct Option {
  Option(const char* name, const char** value, const char* input = nullptr)
      : name(name), value(value), input(input) {}
  Option(const char* name, bool* flag) : name(name), flag(flag) {}

  std::string_view name;
  const char** value = nullptr;
  const char* input = nullptr;
  bool* flag = nullptr;
};

// What the arguments ask the program to do.
enum class Asked { run, help, version, usageError };

// Reads the arguments (argv[1] to argv[argc - 1]) into the options of `table`, in order, as
// getopt_long() reads long options, but taking no abbreviations: an option added later never
// changes what an argument means. A later value of an option replaces an earlier one; "--"
// ends the options. --help, -h and --version are every program's: the first of them ends the
// reading. An argument that begins with "-" and is no option, an option with a missing or
// empty value, a flag given a value, and more than one input of standard input ("-") are usage
// errors, said on standard error in one line that points to --help. When the program is to
// run, each argument that is no option ("-" among them) is named on standard error as ignored,
// with the option that would read it. Allocates nothing.
Asked readArguments(int argc, const char* const* argv, std::span<const Option> table,
                    ReportWriter& out);

// Answers what was asked instead of a run: writes `usage` for --help or the version for
// --version to `out` and ends it, returning its exit status; after a usage error, returns 2.
int answer(Asked asked, std::string_view usage, ReportWriter& out);

}  // namespace stationtext
