// stationdiff: reports the stations of "bemenet.txt" that "frissites.txt" no longer names and
// the names it adds, after the number of distinct words of "be.txt".
#include <cstdio>

#include "report_writer.hpp"
#include "time_table.hpp"

int main() {
  stationtext::ReportWriter out(stdout, "stationdiff");
  out.put("SIZE: ").put(static_cast<std::uint64_t>(countDistinctWords("be.txt", out))).endLine();
  {
    TimeTable table(out);
    table.printNotUsed();
    table.printNewStations();
  }
  return out.finish();
}
