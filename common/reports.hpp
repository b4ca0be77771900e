// What both programs tell the user about a run, the same in both: the warnings about inputs and
// about the register's count, why the reports could not be written, the exit status, and
// whether there is room to start.
#pragma once

#include <string_view>

#include "line_reader.hpp"
#include "report_writer.hpp"
#include "station_file.hpp"

namespace stationtext {

// What the troubles of an input do to the run, as its warnings say.
struct InputEffects {
  // What an optional input that exists but cannot be opened is read as; null for a required
  // input, whose failure to open is an error.
  const char* readAs;
  std::string_view byteOrderMark;  // what a UTF-8 byte-order mark at its start does
  std::string_view utf16;          // what text that looks like UTF-16 does
};

// A register's troubles, in either program.
inline constexpr InputEffects kRegisterEffects{
    nullptr, "the count cannot be read, so the register is empty",
    "the register reads as empty, as its codes and names cannot be read"};

// True when memory holds room to start a run. Throwing std::bad_alloc needs room of its own:
// the C++ runtime sets a pool aside for it before main(), and where it could not, running out
// of memory later would end the process instead of throwing. A first block larger than that
// pool, but small enough to come from the same heap, is had only where the pool was.
bool roomToStart();

// The exit status of a usage error, and of a run under --strict that gave a warning.
inline constexpr int kExitUsageOrWarned = 2;

// Warns on standard error about an input that is there but will not read as its user expects;
// the report and the exit status stay as they are. `input` tells how reading it went, `effects`
// what its troubles do. A missing optional input stays silent, but for a link to a missing file.
void warnAbout(ReportWriter& out, const ReadOutcome& input, const InputEffects& effects);

// Warns on standard error when a register that was read through does not hold what its count
// announced: it ends before the count's station lines, or lines that are not blank follow them.
void warnAboutCount(ReportWriter& out, const RegisterRead& read);

// Ends the report and says on standard error why reading an input failed: "<program>: cannot
// open: <path>: <cause>" or "<program>: read error: <path>: <cause>". Returns the exit status, 1.
int failInput(ReportWriter& out, const ReadOutcome& input);

// As failInput(), for the register: one that cannot be opened also gets "File open error" on
// standard output.
int failRegister(ReportWriter& out, const ReadOutcome& input);

// The exit status of a run that ended with `status`: under --strict (`strict`), a complete run
// that gave a warning ends with kExitUsageOrWarned.
inline int strictStatus(int status, bool strict, const ReportWriter& out) {
  return strict && status == 0 && out.warnings() != 0 ? kExitUsageOrWarned : status;
}

}  // namespace stationtext
