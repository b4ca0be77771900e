// stationdiff: reports the stations of "bemenet.txt" that "frissites.txt" no longer names and
// the names it adds, after the number of distinct words of "be.txt".
#include <cstdio>

#include "report_writer.hpp"
#include "time_table.hpp"

int main() {
  stationtext::ReportWriter out(stdout, "stationdiff");
  return stationdiff::run({"be.txt", "bemenet.txt", "frissites.txt"}, out);
}
