// stationdiff-onefile: reports the stations of the register at the start of "F.IN" that the
// update lines after it no longer name, and the names they add.
#include <cstdio>

#include "command_line.hpp"
#include "hashed_register.hpp"
#include "report_writer.hpp"

int main(int argc, char** argv) {
  stationtext::ReportWriter out(stdout, "stationdiff-onefile");
  if (const auto answered = stationtext::answerOption(argc, argv, onefile::kUsage, out))
    return *answered;
  return onefile::run("F.IN", out);
}
