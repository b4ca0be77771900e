// stationdiff-onefile: reports the stations of the register at the start of "F.IN" that the
// update lines after it no longer name, and the names they add.
#include <cstdio>
#include <string_view>

#include "command_line.hpp"
#include "hashed_register.hpp"
#include "report_writer.hpp"

namespace {

// What --help prints: lines within 79 columns.
constexpr std::string_view kUsage =
    "Usage: stationdiff-onefile [--help | --version]\n"
    "Reconcile a register of timetable stations with a later list of station names.\n"
    "\n"
    "Reads F.IN from the current directory: a count line, one line per station\n"
    "(code, name), then the update list, one station name per line. Writes to\n"
    "standard output the register's stations that the update list no longer\n"
    "names, one per code (\"Not used: \"), then the number of names that the\n"
    "register lacks and the names (\"New stations: \"). Any other argument is\n"
    "ignored, with a warning.\n"
    "\n"
    "Exit status: 0 after a complete run; 1 when F.IN cannot be opened or read or\n"
    "the report cannot be written, with the cause on standard error. Warnings on\n"
    "standard error change neither the report nor the status.\n"
#ifdef _WIN32
    "See stationdiff-onefile.txt in the program's folder.\n";
#else
    "See the manual page stationdiff-onefile(1).\n";
#endif

}  // namespace

int main(int argc, char** argv) {
  stationtext::ReportWriter out(stdout, "stationdiff-onefile");
  if (const auto answered = stationtext::answerOption(argc, argv, kUsage, "F.IN", out))
    return *answered;
  return onefile::run("F.IN", out);
}
