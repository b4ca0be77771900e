// stationdiff-onefile: reports the stations of the register at the start of "F.IN" that the
// update lines after it no longer name, and the names they add.
#include <cstdio>

#include "report_writer.hpp"
#include "time_table.hpp"

int main() {
  stationtext::ReportWriter out(stdout, "stationdiff-onefile");
  return onefile::run("F.IN", out);
}
