// What both programs tell the user at the end of a run, the same in both: the warnings about
// inputs, the register's two reports or why there are none, and running out of memory.
#pragma once

#include <cerrno>
#include <new>
#include <stdexcept>

#include "line_reader.hpp"
#include "report_writer.hpp"

namespace stationtext {

// Ends the report and says on standard error why reading an input failed: "<program>: cannot
// open: <path>: <cause>" or "<program>: read error: <path>: <cause>". Returns the exit status, 1.
inline int failInput(ReportWriter& out, const ReadOutcome& input) {
  return out.fail(input.kind == ReadOutcome::notOpened ? "cannot open" : "read error", input.path,
                  input.error);
}

// What a byte-order mark does to a register: its count is no number.
inline constexpr std::string_view kRegisterMark =
    "the count cannot be read, so the register is empty";

// Warns on standard error about an input that is there but will not read as its user expects;
// the report and the exit status stay as they are. `input` tells how reading it went. An
// optional input that exists but cannot be opened is read as `readAs`, an empty input, and
// the warning says so (a missing one stays silent, but for a link to a missing file; `readAs` is
// null for a required input, whose failure to open is an error). An input that begins with a
// byte-order mark does `markEffect`; one that looks like UTF-16 has names full of NUL bytes.
void warnAbout(const ReportWriter& out, const ReadOutcome& input, std::string_view markEffect,
               const char* readAs = nullptr);

// Writes the two reports of `table`, whose loading ended as `loaded`, and ends the report.
// Returns the exit status: 1 when the register could not be opened, after "File open error" on
// standard output, or when a read failed; otherwise what finishing says.
template <typename Table>
int writeReports(Table& table, const ReadOutcome& loaded, ReportWriter& out) {
  if (loaded.kind == ReadOutcome::notOpened) out.put("File open error").endLine();
  if (loaded.kind != ReadOutcome::complete) return failInput(out, loaded);
  table.printNotUsed(out);
  table.printNewStations(out);
  return out.finish();
}

// Runs a program's work, run(input), and returns the exit status it returns. The work sets
// `input` to the file whose data it is reading or holding. When the system refuses memory, the
// report ends after its last whole line, and "<program>: out of memory: <input>: <cause>" goes
// to standard error; the exit status is 1. A size that no array can have counts as such.
template <typename Run>
int guardMemory(ReportWriter& out, Run run) {
  const char* input = nullptr;
  try {
    return run(input);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  out.dropUnfinishedLine();
  return out.fail("out of memory", input, ENOMEM);
}

}  // namespace stationtext
