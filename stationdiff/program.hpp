// stationdiff as a program: its options, the run on its inputs, and the exit status.
#pragma once

#include "report_writer.hpp"

namespace stationdiff {

// The files the program reads, as given; "-" is standard input. Without options, these names
// in the working directory.
struct Files {
  const char* census = "be.txt";          // its distinct words are counted; optional
  const char* stations = "bemenet.txt";   // the register; required
  const char* updates = "frissites.txt";  // the update list; optional
};

// The run on `files`: the word census, then the register's two reports, and with `renames` the
// rename hints after them, with the warnings about the inputs. Returns the exit status.
// Running out of memory throws std::bad_alloc, which runProgram() turns into its message.
int run(const Files& files, stationtext::ReportWriter& out, bool renames);

// The whole program, which main() is: reads the arguments, answers --help and --version or
// runs, and ends with one line on standard error when memory runs out, wherever it does.
// Returns the exit status.
int runProgram(int argc, char** argv);

}  // namespace stationdiff
