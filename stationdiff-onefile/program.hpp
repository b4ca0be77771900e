// stationdiff-onefile as a program: its options, the run on its input, and the exit status.
#pragma once

#include "report_writer.hpp"

namespace onefile {

// The run on `file`, the register followed by the update lines ("-" is standard input): the
// register's two reports, and with `renames` the rename hints after them, with the warnings
// about the input. Returns the exit status. Running out of memory throws std::bad_alloc, which
// runProgram() turns into its message.
int run(const char* file, stationtext::ReportWriter& out, bool renames);

// The whole program, which main() is: reads the arguments, answers --help and --version or
// runs, and ends with one line on standard error when memory runs out, wherever it does.
// Returns the exit status.
int runProgram(int argc, char** argv);

}  // namespace onefile
