// stationdiff: reports the stations of "bemenet.txt" that "frissites.txt" no longer names and
// the names it adds, after the number of distinct words of "be.txt".
#include <cstdio>

#include "command_line.hpp"
#include "report_writer.hpp"
#include "sorted_register.hpp"

int main(int argc, char** argv) {
  stationtext::ReportWriter out(stdout, "stationdiff");
  if (const auto answered = stationtext::answerOption(argc, argv, stationdiff::kUsage, out))
    return *answered;
  return stationdiff::run({"be.txt", "bemenet.txt", "frissites.txt"}, out);
}
