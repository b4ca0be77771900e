// The end of a run, the same in both programs: the register's two reports, or why there are
// none.
#pragma once

#include <cstdlib>

#include "line_reader.hpp"
#include "report_writer.hpp"

namespace stationtext {

// Writes the two reports of `table`, whose loading ended as `loaded`, and ends the report.
// Returns the exit status: 1, after "File open error", when the register could not be opened,
// and after the read error's message when a read failed; otherwise what finishing says.
template <typename Table>
int writeReports(Table& table, const ReadOutcome& loaded, ReportWriter& out) {
  if (loaded.kind == ReadOutcome::notOpened) {
    out.put("File open error").endLine();
    out.finish();
    return EXIT_FAILURE;
  }
  if (loaded.kind == ReadOutcome::readFailed) return out.failRead(loaded.path, loaded.error);
  table.printNotUsed(out);
  table.printNewStations(out);
  return out.finish();
}

}  // namespace stationtext
